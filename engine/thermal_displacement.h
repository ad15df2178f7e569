// Standard normal deviates from the quantile table, and the thermal displacement of the
// atoms examined in one partner search of an ion.
#pragma once

#include <cstdint>

#include "engine/fixed_tables.h"
#include "engine/ion_stream.h"

namespace engine {

// g = G(NINT(2000 u) - 1000) for one uniform deviate u: each of G(-999..999) with
// probability 1/2000, the end entries (about +-3.89) with 1/4000.
inline float standard_normal_deviate(const FixedTables& tables, IonStream& stream) {
  const double u = stream.uniform_deviate();
  return tables.gauss(nint_within(2000.0 * u, 0, 2 * FixedTables::kGaussLast) -
                      FixedTables::kGaussLast);
}

struct Displacement {
  float x = 0.0f, y = 0.0f, z = 0.0f;  // Å
};

// The three deviates of one partner search, drawn at its start (gx, gy, gz in that order)
// and shared by every candidate atom of that search; the next search draws afresh, so each
// collision partner carries an independent isotropic Gaussian displacement.
class SearchDisplacement {
 public:
  SearchDisplacement(const FixedTables& tables, IonStream& stream)
      : gx_(standard_normal_deviate(tables, stream)),
        gy_(standard_normal_deviate(tables, stream)),
        gz_(standard_normal_deviate(tables, stream)) {}

  // The displacement of a candidate with rms amplitude sigma (Å): sigma (gx, gy, gz).
  Displacement of(float sigma) const { return {sigma * gx_, sigma * gy_, sigma * gz_}; }

 private:
  // Declaration order is the drawing order.
  float gx_, gy_, gz_;
};

}  // namespace engine
