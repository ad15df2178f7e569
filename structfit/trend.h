// Transfer of the slow trend of the simulated curve onto the measured one, so that the
// R-factor compares the structure of the curves rather than a drift of the detector
// efficiency over the angle.
#pragma once

#include <span>

namespace structfit {

// Fits quadratics q_E to (angles, measured) and q_S to (angles, simulated), then multiplies
// each measured value by q_S / q_E at its angle and the whole curve by sum q_E / sum q_S.
// When the two fits agree the measured values are left exactly as they are.
// Throws RFactorRefused (input experiment or simulation, with the point) where a fitted
// trend is not positive: the measured value would be divided by it, or turn non-positive
// and divide the R-factor sum.
void transfer_trend(std::span<const float> angles, std::span<float> measured,
                    std::span<const float> simulated);

}  // namespace structfit
