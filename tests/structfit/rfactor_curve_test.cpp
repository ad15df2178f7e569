// The R-factor of a simulated against a measured curve: index-by-index comparison, the scale
// factor and its clamp, the trend transfer, and R itself.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "structfit/rfactor.h"
#include "structfit/smoothing.h"
#include "structfit/trend.h"

namespace {

using structfit::Curve;
using structfit::ScaleConstraint;

Curve line_curve(float first_angle, float step, int count, float first_value, float slope) {
  Curve curve;
  for (int i = 0; i < count; ++i)
    curve.push_back(
        {first_angle + static_cast<float>(i) * step, first_value + slope * static_cast<float>(i)});
  return curve;
}

double mean_inverse_sin4(const Curve& curve, std::size_t n) {
  double sum = 0.0;
  for (std::size_t i = 0; i < n; ++i)
    sum += 1.0 / std::pow(std::sin(curve[i].angle * std::numbers::pi / 360.0), 4);
  return sum / static_cast<double>(n);
}

TEST(CurveRFactor, IdenticalFlatCurvesGiveExactlyZero) {
  const Curve curve = line_curve(20.0f, 0.5f, 40, 1.0f, 0.0f);
  const auto result = structfit::curve_r_factor(curve, curve, {});
  EXPECT_EQ(result.points, 40);
  EXPECT_EQ(result.r, 0.0f);
}

TEST(CurveRFactor, IdenticalAndProportionalStraightCurvesGiveZeroToRounding) {
  // A straight curve passes the three-point smoothing unchanged and is its own quadratic
  // trend; a constant factor is taken out by the scale factor.
  const Curve measured = line_curve(20.0f, 0.5f, 60, 800.0f, 3.0f);
  for (const float ratio : {1.0f, 0.25f, 7.0f}) {
    Curve simulated = measured;
    for (auto& p : simulated) p.intensity *= ratio;
    const auto result = structfit::curve_r_factor(measured, simulated, {});
    // R ~ (dE)^2 / E / sin^4; dE from float rounding ~ 1e-6 E.
    EXPECT_LT(result.r, 1.0e-9 * 900.0 * mean_inverse_sin4(measured, 60)) << ratio;
  }
}

TEST(CurveRFactor, EqualStepsCompareIndexByIndexWhateverTheStartAngles) {
  // The simulation starts 10 degrees later on the same step: no resampling, point i against
  // point i, so the same values compare as identical.
  const Curve measured = line_curve(20.0f, 0.5f, 30, 500.0f, -4.0f);
  const Curve simulated = line_curve(30.0f, 0.5f, 30, 500.0f, -4.0f);
  const auto result = structfit::curve_r_factor(measured, simulated, {});
  ASSERT_EQ(result.skew.size(), 30u);
  for (std::size_t i = 0; i < 30; ++i) {
    EXPECT_EQ(result.skew[i].angle, measured[i].angle);
    EXPECT_NEAR(result.skew[i].simulated, measured[i].intensity, 1e-3) << i;
  }
  EXPECT_LT(result.r, 1.0e-9 * 500.0 * mean_inverse_sin4(measured, 30));
}

TEST(CurveRFactor, ALongerSimulationIsComparedOverTheMeasuredCount) {
  const Curve measured = line_curve(20.0f, 0.5f, 25, 1.0f, 0.0f);
  const Curve simulated = line_curve(20.0f, 0.5f, 60, 1.0f, 0.0f);
  const auto result = structfit::curve_r_factor(measured, simulated, {});
  EXPECT_EQ(result.points, 25);
  EXPECT_EQ(result.skew.size(), 25u);
  EXPECT_EQ(result.r, 0.0f);
}

TEST(CurveRFactor, AResampledSimulationIsComparedOnTheMeasuredAngles) {
  // Simulated every 1 degree from 20 to 50, measured every 0.5 from 20 to 60: 61 points.
  const Curve measured = line_curve(20.0f, 0.5f, 81, 300.0f, 1.0f);
  const Curve simulated = line_curve(20.0f, 1.0f, 31, 300.0f, 2.0f);
  const auto result = structfit::curve_r_factor(measured, simulated, {});
  EXPECT_EQ(result.points, 61);
  for (std::size_t i = 0; i < 61; ++i)
    EXPECT_NEAR(result.skew[i].simulated, measured[i].intensity, 1e-2) << i;
}

TEST(SmoothThreePoint, EachMeanUsesTheAlreadySmoothedValueBefore) {
  std::vector<float> values{0.0f, 3.0f, 0.0f, 3.0f, 0.0f};
  structfit::smooth_three_point(values);
  // 1 = (0 + 3 + 0) / 3, then (1 + 0 + 3) / 3, then (4/3 + 3 + 0) / 3; the ends stay.
  const std::vector<float> expected{0.0f, 1.0f, 4.0f / 3.0f, 13.0f / 9.0f, 0.0f};
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_FLOAT_EQ(values[i], expected[i]) << i;
}

TEST(ClampScale, HoldsTheFactorWithinTheToleranceOnBothSides) {
  const ScaleConstraint on{true, 2.0f, 10.0f};  // 1.8 .. 2.2
  struct Case {
    ScaleConstraint constraint;
    float factor;
    float expected;
  };
  for (const Case& c : {Case{on, 1.0f, 1.8f}, Case{on, 3.0f, 2.2f}, Case{on, 2.1f, 2.1f},
                        Case{{false, 2.0f, 10.0f}, 3.0f, 3.0f}}) {
    EXPECT_FLOAT_EQ(structfit::clamp_scale(c.factor, c.constraint), c.expected) << c.factor;
  }
}

TEST(CurveRFactor, AClampedScaleLeavesTheMismatchInR) {
  // Flat curves: the free factor would be the ratio of the levels, 100 / 50 = 2, and R zero.
  // Held to 1.5 (both sides tried), the simulation scales to 75 against 100, and
  // R = mean of (E - S)^2 / E / sin^4 = 6.25 mean 1/sin^4; likewise 100 against 125.
  const Curve measured = line_curve(20.0f, 0.5f, 40, 100.0f, 0.0f);
  const double inverse_sin4 = mean_inverse_sin4(measured, 40);
  struct Case {
    float simulated_level;
    ScaleConstraint constraint;
    float factor;
  };
  for (const Case& c : {Case{50.0f, {true, 1.25f, 20.0f}, 1.5f},      // above: 2 -> 1.5
                        Case{125.0f, {true, 1.25f, 20.0f}, 1.0f}}) {  // below: 0.8 -> 1.0
    const Curve simulated = line_curve(20.0f, 0.5f, 40, c.simulated_level, 0.0f);
    const auto result = structfit::curve_r_factor(measured, simulated, c.constraint);
    const double s = c.simulated_level * c.factor;
    EXPECT_NEAR(result.skew[5].simulated, s, 1e-5 * s);
    EXPECT_NEAR(result.skew[5].simulated_unscaled, c.simulated_level, 1e-4);
    EXPECT_NEAR(result.skew[5].measured_unscaled, 100.0 / c.factor, 1e-5 * 100.0 / c.factor);
    const double expected = (100.0 - s) * (100.0 - s) / 100.0 * inverse_sin4;
    EXPECT_NEAR(result.r, expected, 1e-5 * expected) << c.simulated_level;
  }
}

TEST(TransferTrend, AgreeingQuadraticsLeaveTheMeasuredValuesUnchanged) {
  const std::vector<float> angles{20, 22, 24, 26, 28, 30, 32};
  const std::vector<float> simulated{1.0f, 0.7f, 0.9f, 0.4f, 1.1f, 0.95f, 1.0f};
  std::vector<float> measured = simulated;
  structfit::transfer_trend(angles, measured, simulated);
  EXPECT_EQ(measured, simulated);  // exactly: the ratio of identical fits is 1

  std::vector<float> scaled;
  for (const float s : simulated) scaled.push_back(3.0f * s);
  std::vector<float> transferred = scaled;
  structfit::transfer_trend(angles, transferred, simulated);
  for (std::size_t i = 0; i < angles.size(); ++i)
    EXPECT_NEAR(transferred[i], scaled[i], 2e-5f * scaled[i]) << i;
}

TEST(TransferTrend, AFlatMeasurementTakesOverTheSimulatedTiltAtItsOwnLevel) {
  // q_E = 2, q_S = 1 + 0.01 x: E becomes 2 (1 + 0.01 x) / 2 * sum q_E / sum q_S.
  std::vector<float> angles;
  std::vector<float> simulated;
  for (float a = 20.0f; a <= 60.0f; a += 2.0f) {
    angles.push_back(a);
    simulated.push_back(1.0f + 0.01f * a);
  }
  std::vector<float> measured(angles.size(), 2.0f);
  structfit::transfer_trend(angles, measured, simulated);
  double simulated_sum = 0.0;
  for (const float s : simulated) simulated_sum += s;
  const double level = 2.0 * static_cast<double>(angles.size()) / simulated_sum;
  for (std::size_t i = 0; i < angles.size(); ++i)
    EXPECT_NEAR(measured[i], simulated[i] * level, 1e-4) << angles[i];
}

}  // namespace
