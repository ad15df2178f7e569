// Least-squares polynomial fits in 32-bit reals: the normal equations solved by LU
// decomposition. The quadratic carries the slow trend of a blocking curve; the cubic locates
// the minimum of an R-factor curve over the model points.
#pragma once

#include <array>
#include <span>

namespace structfit {

// Coefficients c0, c1, c2 of y ~ c0 + c1 x + c2 x^2. Throws NumericalFault ("singular
// matrix in ludcmp") for an empty list of points.
std::array<float, 3> fit_quadratic(std::span<const float> x, std::span<const float> y);

// Coefficients c0..c3 of y ~ c0 + c1 x + c2 x^2 + c3 x^3; as fit_quadratic.
std::array<float, 4> fit_cubic(std::span<const float> x, std::span<const float> y);

// The polynomial with coefficients c0, c1, ... (lowest power first) at x, by Horner's rule.
float evaluate_polynomial(std::span<const float> coefficients, float x);

}  // namespace structfit
