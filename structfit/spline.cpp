// Cubic spline through the knots, clamped by the given end slopes.
#include "structfit/spline.h"

#include <cstddef>
#include <utility>

#include "structfit/rfactor_errors.h"

namespace structfit {

namespace {

constexpr const char* kBadKnots = "bad xa input in splint";

}  // namespace

CubicSpline::CubicSpline(std::vector<float> x, std::vector<float> y, float slope_first,
                         float slope_last)
    : x_(std::move(x)), y_(std::move(y)), y2_(x_.size(), 0.0f) {
  if (x_.size() < 2 || y_.size() != x_.size()) throw NumericalFault(kBadKnots);
  for (std::size_t i = 1; i < x_.size(); ++i)
    if (!(x_[i] > x_[i - 1])) throw NumericalFault(kBadKnots);
  solve_second_derivatives(slope_first, slope_last);
}

// Forward elimination and back-substitution of the tridiagonal system for the second
// derivatives; `u` carries the eliminated right-hand sides.
void CubicSpline::solve_second_derivatives(float slope_first, float slope_last) {
  const std::size_t n = x_.size();
  std::vector<float> u(n, 0.0f);
  if (!(slope_first > kNaturalEndSlope)) {
    const float h = x_[1] - x_[0];
    y2_[0] = -0.5f;
    u[0] = (3.0f / h) * ((y_[1] - y_[0]) / h - slope_first);
  }
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const float sig = (x_[i] - x_[i - 1]) / (x_[i + 1] - x_[i - 1]);
    const float p = sig * y2_[i - 1] + 2.0f;
    y2_[i] = (sig - 1.0f) / p;
    const float jump =
        (y_[i + 1] - y_[i]) / (x_[i + 1] - x_[i]) - (y_[i] - y_[i - 1]) / (x_[i] - x_[i - 1]);
    u[i] = (6.0f * jump / (x_[i + 1] - x_[i - 1]) - sig * u[i - 1]) / p;
  }
  float qn = 0.0f;
  float un = 0.0f;
  if (!(slope_last > kNaturalEndSlope)) {
    const float h = x_[n - 1] - x_[n - 2];
    qn = 0.5f;
    un = (3.0f / h) * (slope_last - (y_[n - 1] - y_[n - 2]) / h);
  }
  y2_[n - 1] = (un - qn * u[n - 2]) / (qn * y2_[n - 2] + 1.0f);
  for (std::size_t k = n - 1; k-- > 0;) y2_[k] = y2_[k] * y2_[k + 1] + u[k];
}

float CubicSpline::operator()(float x) const {
  std::size_t lo = 0;
  std::size_t hi = x_.size() - 1;
  while (hi - lo > 1) {
    const std::size_t mid = (hi + lo) / 2;
    if (x_[mid] > x)
      hi = mid;
    else
      lo = mid;
  }
  const float h = x_[hi] - x_[lo];
  if (h == 0.0f) throw NumericalFault(kBadKnots);
  const float a = (x_[hi] - x) / h;
  const float b = (x - x_[lo]) / h;
  return a * y_[lo] + b * y_[hi] +
         ((a * a * a - a) * y2_[lo] + (b * b * b - b) * y2_[hi]) * (h * h) / 6.0f;
}

}  // namespace structfit
