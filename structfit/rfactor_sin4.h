// Removal of the sin^4(angle/2) dependence of Rutherford scattering from both curves, so that
// the points at small exit angles do not dominate the R-factor.
#pragma once

#include <span>

namespace structfit {

// sin^4(angle / 2) of an angle in degrees, in 32-bit reals with pi = 4 atan(1).
float sin4_half_angle(float angle_degrees);

// Divides measured[i] and simulated[i] by sin^4(angles[i] / 2); all three of one length.
// Throws RFactorRefused (input experiment, with the point) where that is zero.
void divide_by_sin4(std::span<const float> angles, std::span<float> measured,
                    std::span<float> simulated);

}  // namespace structfit
