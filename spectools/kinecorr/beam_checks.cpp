// Masses and angles that the kinematic factor cannot be formed for.
#include "spectools/kinecorr/beam_checks.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "spectools/frame/numbers.h"
#include "spectools/kinecorr/kinematics.h"

namespace spectools::kinecorr {
double angle_at(const AxisScale& angle, int channel) {
  return angle.slope * channel + angle.offset;
}

void require_positive_masses(const Beam& beam) {
  if (!(beam.mass > 0.0)) {
    throw std::domain_error("beam mass " + spectools::number_text(beam.mass) + " is not positive");
  }
  if (!(beam.target_mass > 0.0)) {
    throw std::domain_error("target mass " + spectools::number_text(beam.target_mass) +
                            " is not positive");
  }
}

void require_elastic_solutions(const Beam& beam, int first_channel, int channels,
                               const AxisScale& angle) {
  for (int k = 0; k < channels; ++k) {
    const double theta = angle_at(angle, first_channel + k);
    if (!(elastic_radicand(beam.mass, beam.target_mass, theta) >= 0.0)) {
      throw std::domain_error("no elastic scattering at angle " + spectools::number_text(theta) +
                              " deg: beam mass " + spectools::number_text(beam.mass) +
                              " times sin(angle) exceeds target mass " +
                              spectools::number_text(beam.target_mass));
    }
  }
}

}  // namespace spectools::kinecorr
