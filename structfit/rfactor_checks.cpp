// Refusals of R-factor inputs that would divide by zero or leave nothing to compare.
#include "structfit/rfactor_checks.h"

#include <string>

#include "structfit/rfactor_errors.h"
#include "structfit/rfactor_text.h"

namespace structfit {

namespace {

std::string points_text(int n) {
  return std::to_string(n) + (n == 1 ? " point" : " points");
}

}  // namespace

void check_measured_step(const Curve& measured) {
  const int n = static_cast<int>(measured.size());
  if (n < 2)
    throw RFactorRefused(RFactorInput::experiment, 0,
                         "the measured curve has " + points_text(n) + "; its angular step needs 2");
  if (measured[1].angle == measured[0].angle)
    throw RFactorRefused(RFactorInput::experiment, 2,
                         "angle " + number_text(measured[1].angle) +
                             " equals the first angle: the angular step is 0");
}

void check_simulated_curve(const Curve& simulated) {
  const int n = static_cast<int>(simulated.size());
  if (n < 2)
    throw RFactorRefused(
        RFactorInput::simulation, 0,
        "the simulated curve has " + points_text(n) + "; its angular step needs 2");
  for (int i = 0; i < n; ++i)
    if (!(simulated[i].intensity >= 0.0f))
      throw RFactorRefused(
          RFactorInput::simulation, i + 1,
          "combined intensity " + number_text(simulated[i].intensity) + " is negative");
}

void check_compared_points(const Curve& measured, int count, int simulated_count) {
  if (count < 3)
    throw RFactorRefused(
        simulated_count < static_cast<int>(measured.size()) ? RFactorInput::simulation
                                                            : RFactorInput::experiment,
        0, "only " + points_text(count) + " can be compared; the quadratic trend needs 3");
  const bool rising = measured[1].angle > measured[0].angle;
  for (int i = 0; i < count; ++i) {
    const CurvePoint& point = measured[i];
    const float before = i > 0 ? measured[i - 1].angle : 0.0f;
    if (i > 0 && !(rising ? point.angle > before : point.angle < before))
      throw RFactorRefused(
          RFactorInput::experiment, i + 1,
          "angle " + number_text(point.angle) + (rising ? " does not exceed" : " is not below") +
              " the angle before it; the angles must keep the direction of the first step");
    if (!(point.intensity > 0.0f))
      throw RFactorRefused(RFactorInput::experiment, i + 1,
                           "intensity " + number_text(point.intensity) + " is not positive");
  }
}

}  // namespace structfit
