// Spline interpolation and the resampling of a simulated curve onto the measured step: a
// cubic is reproduced exactly when the end slopes are right.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "structfit/rfactor_errors.h"
#include "structfit/spline.h"

namespace {

using structfit::CubicSpline;
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

}  // namespace
