// Grid search for the minimum of a fitted cubic.
#include "structfit/cubic_minimum.h"

#include <cmath>
#include <vector>

#include "structfit/polynomial_fit.h"

namespace structfit {

CurveMinimum cubic_minimum(const std::array<float, 4>& c, std::int32_t point_count) {
  constexpr float kGridStep = 0.001f;
  const auto end = static_cast<float>(point_count);
  float best = 20000.0f;
  CurveMinimum minimum;
  // Repeated addition, as the grid has always been stepped: over the 8000 steps of 9 model
  // points x drifts from 1 + k/1000 by at most 0.0004, under half a grid step.
  for (float x = 1.0f; x < end; x += kGridStep) {
    const float value = evaluate_polynomial(c, x);
    if (value < best) {
      best = value;
      minimum.x = x;
    }
  }
  const float curvature = 2.0f * (3.0f * c[3] * minimum.x + c[2]);
  minimum.error = std::sqrt(std::fabs(2.0f / curvature));
  return minimum;
}

CurveMinimum curve_minimum(std::span<const float> r) {
  std::vector<float> x(r.size());
  for (std::size_t l = 0; l < x.size(); ++l) x[l] = static_cast<float>(l + 1);
  return cubic_minimum(fit_cubic(x, r), static_cast<std::int32_t>(r.size()));
}

}  // namespace structfit
