// Interpolating cubic spline in 32-bit reals: second derivatives from the tridiagonal system
// with given end slopes, evaluation by bisection for the bracketing knots.
#pragma once

#include <vector>

namespace structfit {

// An end slope above this stands for a natural end (zero second derivative).
inline constexpr float kNaturalEndSlope = 0.99e30f;

class CubicSpline {
 public:
  // Knots `x` strictly ascending, at least two, one value of `y` per knot; `slope_first` and
  // `slope_last` are dy/dx at the two ends. Throws NumericalFault ("bad xa input in splint")
  // when two knots coincide or the knots do not ascend, as the interpolation would divide by
  // the zero width of an interval.
  CubicSpline(std::vector<float> x, std::vector<float> y, float slope_first, float slope_last);

  // The spline's value at `x`; beyond the ends the end pieces are extended.
  float operator()(float x) const;

 private:
  void solve_second_derivatives(float slope_first, float slope_last);

  std::vector<float> x_;
  std::vector<float> y_;
  std::vector<float> y2_;  // second derivatives at the knots
};

}  // namespace structfit
