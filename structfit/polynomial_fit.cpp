// Normal equations of a least-squares polynomial fit, solved by LU decomposition.
#include "structfit/polynomial_fit.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "structfit/lu_decomposition.h"

namespace structfit {

namespace {

// Coefficients of the polynomial of `count` terms that fits (x, y) best: the matrix of the
// normal equations holds the power sums of x, the right-hand side the sums of y times x^k.
std::vector<float> fit_polynomial(std::span<const float> x, std::span<const float> y,
                                  std::size_t count) {
  std::vector<float> power_sums(2 * count - 1, 0.0f);
  std::vector<float> rhs(count, 0.0f);
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    float power = 1.0f;
    for (std::size_t k = 0; k < power_sums.size(); ++k) {
      power_sums[k] += power;
      if (k < count) rhs[k] += y[i] * power;
      power *= x[i];
    }
  }
  std::vector<std::vector<float>> matrix(count, std::vector<float>(count));
  for (std::size_t j = 0; j < count; ++j)
    for (std::size_t k = 0; k < count; ++k) matrix[j][k] = power_sums[j + k];
  return LuDecomposition(std::move(matrix)).solve(std::move(rhs));
}

template <std::size_t N>
std::array<float, N> fit_of_order(std::span<const float> x, std::span<const float> y) {
  const std::vector<float> solution = fit_polynomial(x, y, N);
  std::array<float, N> coefficients{};
  std::copy(solution.begin(), solution.end(), coefficients.begin());
  return coefficients;
}

}  // namespace

std::array<float, 3> fit_quadratic(std::span<const float> x, std::span<const float> y) {
  return fit_of_order<3>(x, y);
}

std::array<float, 4> fit_cubic(std::span<const float> x, std::span<const float> y) {
  return fit_of_order<4>(x, y);
}

float evaluate_polynomial(std::span<const float> coefficients, float x) {
  float value = 0.0f;
  for (std::size_t k = coefficients.size(); k-- > 0;) value = value * x + coefficients[k];
  return value;
}

}  // namespace structfit
