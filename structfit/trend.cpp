// Quadratic trend transfer from the simulated to the measured curve.
#include "structfit/trend.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "structfit/polynomial_fit.h"
#include "structfit/rfactor_errors.h"
#include "structfit/rfactor_text.h"

namespace structfit {

namespace {

// The fitted trend at every angle; each value must be positive.
std::vector<float> trend_values(std::span<const float> angles, std::span<const float> values,
                                RFactorInput input) {
  const std::array<float, 3> fit = fit_quadratic(angles, values);
  std::vector<float> trend(angles.size());
  for (std::size_t i = 0; i < angles.size(); ++i) {
    trend[i] = evaluate_polynomial(fit, angles[i]);
    if (!(trend[i] > 0.0f))
      throw RFactorRefused(
          input, static_cast<int>(i) + 1,
          std::string(input == RFactorInput::experiment ? "measured" : "simulated") +
              " curve: its quadratic trend is " + number_text(trend[i]) + " at angle " +
              number_text(angles[i]) + "; the trend must be positive to be transferred");
  }
  return trend;
}

}  // namespace

void transfer_trend(std::span<const float> angles, std::span<float> measured,
                    std::span<const float> simulated) {
  const std::vector<float> measured_trend =
      trend_values(angles, measured, RFactorInput::experiment);
  const std::vector<float> simulated_trend =
      trend_values(angles, simulated, RFactorInput::simulation);
  float measured_sum = 0.0f;
  float simulated_sum = 0.0f;
  for (std::size_t i = 0; i < angles.size(); ++i) {
    // The ratio first, so that agreeing fits give exactly 1 and leave the value unchanged.
    measured[i] *= simulated_trend[i] / measured_trend[i];
    measured_sum += measured_trend[i];
    simulated_sum += simulated_trend[i];
  }
  const float restore = measured_sum / simulated_sum;
  for (float& value : measured) value *= restore;
}

}  // namespace structfit
