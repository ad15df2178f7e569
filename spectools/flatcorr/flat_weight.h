// The parabolic sensitivity of the detector along the energy axis: 1 at the middle of axis 2,
// falling off towards both ends; flatcorr divides every row by it.
#pragma once

#include <cstdint>

namespace spectools::flatcorr {

// flatWeight = 1 - 0.000021 (row - range2 / 2)^2 in single precision, for the absolute channel
// number `row` of axis 2 and its channel count `range2`.
float flatWeight(int row, int range2);

// Throws std::domain_error naming a row whose weight is zero or below. The weight is smallest
// at the ends of the axis (first channel `base2`, `range2` channels), so only they are looked at.
void require_positive_weights(int base2, int range2);

// count / weight + 0.5, truncated toward zero; std::range_error when it leaves the 32-bit
// range (weight assumed positive).
std::int32_t flattened(std::int32_t count, float weight);

}  // namespace spectools::flatcorr
