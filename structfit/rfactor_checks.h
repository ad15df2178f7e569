// The checks that keep every division of the R-factor away from zero, made before anything
// is computed.
#pragma once

#include "structfit/rfactor_curve.h"

namespace structfit {

// The measured curve has 2 points or more and its first two angles differ (its angular
// step is not 0). Throws RFactorRefused.
void check_measured_step(const Curve& measured);

// The simulated curve has 2 points or more (its angular step) and no negative intensity.
// Throws RFactorRefused.
void check_simulated_curve(const Curve& simulated);

// The first `count` points of the measured curve, compared with as many simulated ones: at
// least 3 (the quadratic trend), angles that keep the direction of the first step (distinct
// abscissae for the trend fit), positive intensities (divisors of the R-factor sum).
// `simulated_count` names the curve that limits the count when it is too small.
// Throws RFactorRefused.
void check_compared_points(const Curve& measured, int count, int simulated_count);

}  // namespace structfit
