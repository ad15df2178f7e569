// Spline interpolation and the resampling of a simulated curve onto the measured step: a
// cubic is reproduced exactly when the end slopes are right.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "structfit/rfactor_errors.h"
#include "structfit/rfactor_resample.h"
#include "structfit/spline.h"

namespace {

using structfit::CubicSpline;
using structfit::Curve;
using structfit::NumericalFault;

// A cubic with curvature that changes sign over 10..40 degrees, values of order 1.
double cubic(double x) {
  return 1.2 - 0.05 * (x - 25.0) + 4.0e-4 * std::pow(x - 25.0, 2) + 2.0e-5 * std::pow(x - 25.0, 3);
}
double cubic_slope(double x) {
  return -0.05 + 8.0e-4 * (x - 25.0) + 6.0e-5 * std::pow(x - 25.0, 2);
}

// Float rounding of values near 1 through a tridiagonal solve of a few dozen knots.
constexpr double kTolerance = 2.0e-5;

Curve sampled_cubic(float first, float step, int count) {
  Curve curve;
  for (int i = 0; i < count; ++i) {
    const float angle = first + static_cast<float>(i) * step;
    curve.push_back({angle, static_cast<float>(cubic(angle))});
  }
  return curve;
}

TEST(CubicSpline, ReproducesACubicWithItsEndSlopes) {
  std::vector<float> x;
  std::vector<float> y;
  for (const float knot : {10.0f, 11.5f, 14.0f, 18.0f, 19.0f, 25.0f, 31.0f, 40.0f}) {
    x.push_back(knot);
    y.push_back(static_cast<float>(cubic(knot)));
  }
  const CubicSpline spline(x, y, static_cast<float>(cubic_slope(10.0)),
                           static_cast<float>(cubic_slope(40.0)));
  for (float at = 10.0f; at <= 40.0f; at += 0.37f)
    EXPECT_NEAR(spline(at), cubic(at), kTolerance) << at;
}

TEST(CubicSpline, NaturalEndsInterpolateAStraightLineExactly) {
  const CubicSpline spline({0.0f, 1.0f, 3.0f}, {1.0f, 3.0f, 7.0f}, 1.0e30f, 1.0e30f);
  for (const float at : {0.0f, 0.5f, 2.0f, 3.0f}) EXPECT_FLOAT_EQ(spline(at), 1.0f + 2.0f * at);
}

TEST(CubicSpline, CoincidentOrFallingKnotsAreAFault) {
  for (const std::vector<float>& knots :
       {std::vector<float>{1.0f, 2.0f, 2.0f, 3.0f}, std::vector<float>{1.0f, 3.0f, 2.0f, 4.0f}}) {
    try {
      CubicSpline(knots, {1.0f, 2.0f, 3.0f, 4.0f}, 0.0f, 0.0f);
      ADD_FAILURE() << "accepted";
    } catch (const NumericalFault& fault) {
      EXPECT_STREQ(fault.what(), "bad xa input in splint");
    }
  }
}

TEST(ResampleCurve, ACubicOnACoarseStepLandsOnTheCubicOnTheFineStep) {
  // Simulated every 1.5 degrees from 10.0 to 40.0; measured step 0.5.
  const Curve simulated = sampled_cubic(10.0f, 1.5f, 21);
  const Curve resampled = structfit::resample_curve(simulated, 0.5f, 400);
  ASSERT_EQ(resampled.size(), 61u);  // trunc(30 / 0.5 + 1)
  for (std::size_t j = 0; j < resampled.size(); ++j) {
    EXPECT_FLOAT_EQ(resampled[j].angle, 10.0f + static_cast<float>(j) * 0.5f);
    EXPECT_NEAR(resampled[j].intensity, cubic(resampled[j].angle), kTolerance) << j;
  }
}

TEST(ResampleCurve, CountIsTruncatedAndLimitedToTheMeasuredCount) {
  const Curve simulated = sampled_cubic(10.0f, 1.0f, 11);                   // 10 .. 20
  EXPECT_EQ(structfit::resample_curve(simulated, 0.75f, 400).size(), 14u);  // trunc(14.33)
  EXPECT_EQ(structfit::resample_curve(simulated, 0.75f, 9).size(), 9u);
  // A step far below the span must not overflow the count.
  EXPECT_EQ(structfit::resample_curve(simulated, 1.0e-30f, 400).size(), 400u);
}

}  // namespace
