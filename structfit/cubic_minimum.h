// The minimum of an R-factor curve over its model points: a least-squares cubic through the
// points and a search for its lowest value on a fine grid, with the error from its curvature.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace structfit {

// Position and error of a curve minimum, in units of the model-point spacing (x = 1 is the
// first model point).
struct CurveMinimum {
  float x = 0.0f;
  float error = 0.0f;  // sqrt|2/k| with k the cubic's curvature at x
};

// The lowest value of the cubic c0 + c1 x + c2 x^2 + c3 x^3 on x = 1, 1.001, ... below
// `point_count`, x stepped by repeated 32-bit addition; a value counts only when it is
// strictly below the best so far, starting from 20000, so ties keep the earlier x and a cubic
// that never falls below 20000 leaves x at 0.
CurveMinimum cubic_minimum(const std::array<float, 4>& c, std::int32_t point_count);

// The cubic fitted to r at x = 1..r.size() and its minimum.
CurveMinimum curve_minimum(std::span<const float> r);

}  // namespace structfit
