// Three-point running mean of a simulated blocking curve.
#pragma once

#include <span>

namespace structfit {

// Replaces each inner value by the mean of itself and its two neighbours, in increasing
// order and in place, so each mean already uses the smoothed value before it. The end values
// stay as they are.
void smooth_three_point(std::span<float> values);

}  // namespace structfit
