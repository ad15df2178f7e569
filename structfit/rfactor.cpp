// The R-factor of one data set at one model point: resample, smooth, scale, transfer the
// trend, record the compared pair, weight by 1/sin^4 and sum.
#include "structfit/rfactor.h"

#include <algorithm>
#include <cstddef>
#include <span>

#include "structfit/rfactor_checks.h"
#include "structfit/rfactor_resample.h"
#include "structfit/rfactor_sin4.h"
#include "structfit/smoothing.h"
#include "structfit/trend.h"

namespace structfit {

namespace {

// The compared points as three columns of equal length.
struct ComparedColumns {
  std::vector<float> angle;
  std::vector<float> measured;
  std::vector<float> simulated;
};

ComparedColumns compared_columns(const Curve& measured, const Curve& simulated, int n) {
  ComparedColumns columns;
  for (int i = 0; i < n; ++i) {
    columns.angle.push_back(measured[i].angle);
    columns.measured.push_back(measured[i].intensity);
    columns.simulated.push_back(simulated[i].intensity);
  }
  return columns;
}

std::vector<SkewLine> skew_lines(const ComparedColumns& c, float factor) {
  std::vector<SkewLine> lines;
  for (std::size_t i = 0; i < c.angle.size(); ++i)
    lines.push_back({c.angle[i], c.measured[i], c.simulated[i], c.measured[i] / factor,
                     c.simulated[i] / factor});
  return lines;
}

float mean_relative_square(std::span<const float> measured, std::span<const float> simulated) {
  float sum = 0.0f;
  for (std::size_t i = 0; i < measured.size(); ++i) {
    const float difference = measured[i] - simulated[i];
    sum += difference * difference / measured[i];
  }
  return sum / static_cast<float>(measured.size());
}

}  // namespace

RFactorResult curve_r_factor(const Curve& measured, const Curve& simulated,
                             const ScaleConstraint& constraint) {
  check_measured_step(measured);
  check_simulated_curve(simulated);
  const float measured_step = measured[1].angle - measured[0].angle;
  const float simulated_step = simulated[1].angle - simulated[0].angle;
  // Exact comparison: any difference in the steps puts the simulation on the measured grid.
  const Curve on_grid =
      simulated_step != measured_step
          ? resample_curve(simulated, measured_step, static_cast<int>(measured.size()))
          : simulated;
  const int on_grid_count = static_cast<int>(on_grid.size());
  const int n = std::min(on_grid_count, static_cast<int>(measured.size()));
  check_compared_points(measured, n, on_grid_count);

  ComparedColumns c = compared_columns(measured, on_grid, n);
  smooth_three_point(c.simulated);
  const float factor = normalisation_factor(c.measured, c.simulated, constraint);
  for (float& e : c.measured) e /= factor;
  transfer_trend(c.angle, c.measured, c.simulated);
  for (float& e : c.measured) e *= factor;
  for (float& s : c.simulated) s *= factor;

  RFactorResult result;
  result.points = n;
  result.skew = skew_lines(c, factor);
  divide_by_sin4(c.angle, c.measured, c.simulated);
  result.r = mean_relative_square(c.measured, c.simulated);
  return result;
}

}  // namespace structfit
