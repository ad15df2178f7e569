// The amorphous overlayer: a fixed number of random small-angle collisions that an ion
// suffers before it reaches the crystal, and the squared deflection it leaves behind.
#pragma once

#include <cstdint>

#include "engine/deflection_table.h"
#include "engine/ion_state.h"
#include "engine/ion_stream.h"

namespace engine {

struct OverlayerSetup {
  std::int32_t collisions = 0;  // m = trunc(6.25 n_path) + 1 per ion
  float side = 0.0f;            // Å: side a = sqrt(m / n_path) of the square of impacts
  std::int32_t type = 1;        // atom type of the overlayer
};

// For `density` atoms/cm^2 and a path at polar angle with cosine `cos_polar`:
// n_path = density 1.0E-16 / cos_polar atoms/Å^2. A density (along the path) that is not
// positive and finite gives no collisions; m is limited to 1 000 000.
OverlayerSetup set_up_overlayer(float density, float cos_polar, std::int32_t type);

// The m collisions of one ion: impact components b1, b2 uniform over the square of side a,
// deflection T = tan psi at p = |b| from the table, a1 = T b1 / p, a2 = T b2 / p. An impact at
// p = 0 deflects nothing. Returns false (the ion is discarded) when cos θ - a1 sin θ <= 0;
// otherwise d becomes the direction of d + a1 e1 + a2 e2 with its z component kept, and
// after the last collision the squared angle between the final and the first direction
// (rad^2) is added to `deflection_sum`. Only the direction's angles are set here; the
// caller updates the derived terms.
bool pass_overlayer(IonDirection& direction, const OverlayerSetup& overlayer,
                    const DeflectionTable& deflection, IonStream& stream, double& deflection_sum);

}  // namespace engine
