// Least-squares polynomial fits and the LU solver under them.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "structfit/lu_decomposition.h"
#include "structfit/polynomial_fit.h"
#include "structfit/rfactor_errors.h"

namespace {

using structfit::NumericalFault;

TEST(PolynomialFit, QuadraticRecoversItsCoefficientsOverABlockingScan) {
  // A trend over exit angles 20..70 degrees, as the measured curves span.
  const std::array<float, 3> truth{0.8f, 0.012f, -1.5e-4f};
  std::vector<float> x;
  std::vector<float> y;
  for (float a = 20.0f; a <= 70.0f; a += 1.0f) {
    x.push_back(a);
    y.push_back(structfit::evaluate_polynomial(truth, a));
  }
  const std::array<float, 3> fit = structfit::fit_quadratic(x, y);
  // Compare the fitted curve rather than the (correlated) coefficients: the normal equations
  // in 32-bit reals over x^4 ~ 2e7 lose about four digits.
  for (std::size_t i = 0; i < x.size(); ++i)
    EXPECT_NEAR(structfit::evaluate_polynomial(fit, x[i]), y[i], 1.0e-3f) << x[i];
}

TEST(PolynomialFit, CubicRecoversItsCoefficientsOverModelPoints) {
  // An R-factor curve over model points 1..9 with its minimum near 4.4.
  const std::array<float, 4> truth{0.9f, -0.21f, 0.035f, -0.0006f};
  std::vector<float> x;
  std::vector<float> y;
  for (int k = 1; k <= 9; ++k) {
    x.push_back(static_cast<float>(k));
    y.push_back(structfit::evaluate_polynomial(truth, static_cast<float>(k)));
  }
  const std::array<float, 4> fit = structfit::fit_cubic(x, y);
  EXPECT_NEAR(fit[0], truth[0], 2e-4);
  EXPECT_NEAR(fit[1], truth[1], 2e-4);
  EXPECT_NEAR(fit[2], truth[2], 5e-5);
  EXPECT_NEAR(fit[3], truth[3], 5e-6);
}

TEST(PolynomialFit, QuadraticThroughNoisyPointsIsTheLeastSquaresOne) {
  // Symmetric points about 0 with residuals +1, -2, +2, -2, +1 around 3 + x^2: orthogonal to
  // 1, x and x^2, so the fit is exactly the underlying quadratic.
  const std::vector<float> x{-2.0f, -1.0f, 0.0f, 1.0f, 2.0f};
  const std::vector<float> r{1.0f, -4.0f, 6.0f, -4.0f, 1.0f};
  std::vector<float> y;
  for (std::size_t i = 0; i < x.size(); ++i) y.push_back(3.0f + x[i] * x[i] + 0.1f * r[i]);
  const std::array<float, 3> fit = structfit::fit_quadratic(x, y);
  EXPECT_NEAR(fit[0], 3.0f, 1e-5);
  EXPECT_NEAR(fit[1], 0.0f, 1e-5);
  EXPECT_NEAR(fit[2], 1.0f, 1e-5);
}

TEST(LuDecomposition, SolvesASystemThatNeedsRowExchanges) {
  // Zero leading pivot and rows of very different scale.
  const structfit::LuDecomposition lu(
      {{0.0f, 2.0f, 1.0f}, {1000.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 1.0f}});
  const std::vector<float> x = lu.solve({7.0f, 1002.0f, 6.0f});
  ASSERT_EQ(x.size(), 3u);
  EXPECT_NEAR(x[0], 1.0f, 1e-5);
  EXPECT_NEAR(x[1], 2.0f, 1e-4);
  EXPECT_NEAR(x[2], 3.0f, 1e-4);
}

TEST(LuDecomposition, AZeroRowOrAnEmptyFitIsAFault) {
  for (const auto& run : {+[] {
                            structfit::LuDecomposition({{1.0f, 2.0f}, {0.0f, 0.0f}});
                          },
                          +[] { structfit::fit_cubic({}, {}); }}) {
    try {
      run();
      ADD_FAILURE() << "accepted";
    } catch (const NumericalFault& fault) {
      EXPECT_STREQ(fault.what(), "singular matrix in ludcmp");
    }
  }
}

}  // namespace
