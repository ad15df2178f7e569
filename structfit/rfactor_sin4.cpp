// Division of the compared curves by sin^4 of half the exit angle.
#include "structfit/rfactor_sin4.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "structfit/rfactor_errors.h"
#include "structfit/rfactor_text.h"

namespace structfit {

float sin4_half_angle(float angle_degrees) {
  const float pi = 4.0f * std::atan(1.0f);
  const float s = std::sin(angle_degrees * pi / 180.0f * 0.5f);
  const float s2 = s * s;
  return s2 * s2;
}

void divide_by_sin4(std::span<const float> angles, std::span<float> measured,
                    std::span<float> simulated) {
  for (std::size_t i = 0; i < angles.size(); ++i) {
    const float divisor = sin4_half_angle(angles[i]);
    if (!(divisor > 0.0f))
      throw RFactorRefused(RFactorInput::experiment, static_cast<int>(i) + 1,
                           "angle " + number_text(angles[i]) +
                               " gives sin^4(angle/2) = 0; the intensities are divided by it");
    measured[i] /= divisor;
    simulated[i] /= divisor;
  }
}

}  // namespace structfit
