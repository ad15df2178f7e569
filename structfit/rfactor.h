// The R-factor of one simulated blocking curve against the measured curve of its data set.
#pragma once

#include <vector>

#include "structfit/rfactor_curve.h"
#include "structfit/rfactor_scale.h"
#include "structfit/skew_file.h"

namespace structfit {

struct RFactorResult {
  float r = 0.0f;              // mean of (E - S)^2 / E over the compared points
  int points = 0;              // number of compared points
  std::vector<SkewLine> skew;  // the compared pair, one line per point, for the skew file
};

// Compares `simulated` (angle and combined intensity per point) with `measured`, point i
// with point i. A simulated curve on another angular step is first resampled onto the
// measured step from its own first angle. The simulated curve is smoothed and scaled to the
// measured counts (held by `constraint`), the measured curve takes over the quadratic trend
// of the simulated one, and both are divided by sin^4(angle/2) before the sum. The count of
// compared points is the smaller of the two curves' counts.
// Throws RFactorRefused for inputs that would divide by zero (see rfactor_checks.h) and
// NumericalFault should a spline or linear solve fail nevertheless.
RFactorResult curve_r_factor(const Curve& measured, const Curve& simulated,
                             const ScaleConstraint& constraint);

}  // namespace structfit
