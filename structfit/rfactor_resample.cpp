// Spline resampling of the simulated curve; end slopes from the first and last four points.
#include "structfit/rfactor_resample.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "structfit/rfactor_errors.h"
#include "structfit/rfactor_text.h"
#include "structfit/spline.h"

namespace structfit {

namespace {

void check_resampling(const Curve& simulation, float step) {
  const int n = static_cast<int>(simulation.size());
  if (n < 4)
    throw RFactorRefused(RFactorInput::simulation, 0,
                         "the simulated curve has " + std::to_string(n) +
                             " points; resampling it to the measured angular step needs 4");
  for (int i = 1; i < n; ++i)
    if (!(simulation[i].angle > simulation[i - 1].angle))
      throw RFactorRefused(RFactorInput::simulation, i + 1,
                           "angle " + number_text(simulation[i].angle) +
                               " does not exceed the angle before it; resampling needs "
                               "increasing angles");
  if (!(step > 0.0f))
    throw RFactorRefused(RFactorInput::experiment, 2,
                         "the measured angular step " + number_text(step) +
                             " is not positive while the simulated angles increase");
}

// Number of resampled points from the first to the last simulated angle, at most
// `max_points`; compared as a real first so that a tiny step cannot overflow the count.
int resampled_count(const Curve& simulation, float step, int max_points) {
  const float span = simulation.back().angle - simulation.front().angle;
  const float count = span / step + 1.0f;
  if (!(count < static_cast<float>(max_points))) return max_points;
  return static_cast<int>(count);
}

}  // namespace

Curve resample_curve(const Curve& simulation, float step, int max_points) {
  check_resampling(simulation, step);
  const std::size_t n = simulation.size();
  std::vector<float> x(n);
  std::vector<float> y(n);
  for (std::size_t i = 0; i < n; ++i) {
    x[i] = simulation[i].angle;
    y[i] = simulation[i].intensity;
  }
  const float sim_step = x[1] - x[0];
  const float slope_first =
      (-11.0f * y[0] + 18.0f * y[1] - 9.0f * y[2] + 2.0f * y[3]) / (6.0f * sim_step);
  const float slope_last =
      (11.0f * y[n - 1] - 18.0f * y[n - 2] + 9.0f * y[n - 3] - 2.0f * y[n - 4]) / (6.0f * sim_step);
  const CubicSpline spline(std::move(x), std::move(y), slope_first, slope_last);

  const int m = resampled_count(simulation, step, max_points);
  Curve resampled(static_cast<std::size_t>(m > 0 ? m : 0));
  for (int j = 0; j < m; ++j) {
    const float angle = simulation.front().angle + static_cast<float>(j) * step;
    resampled[j] = {angle, spline(angle)};
  }
  return resampled;
}

}  // namespace structfit
