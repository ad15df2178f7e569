// Resampling of a simulated blocking curve onto the angular step of the measurement.
#pragma once

#include "structfit/rfactor_curve.h"

namespace structfit {

// The simulated curve interpolated by a cubic spline whose end slopes are the four-point
// one-sided differences over the simulated step (exact for a cubic), taken at the first
// simulated angle and then every `step` degrees up to the last simulated angle, at most
// `max_points` points.
// Throws RFactorRefused for a simulated curve of fewer than 4 points or with angles that do
// not increase (input simulation), and for a step that is not positive (input experiment,
// point 2: the step is the difference of its first two angles).
Curve resample_curve(const Curve& simulation, float step, int max_points);

}  // namespace structfit
