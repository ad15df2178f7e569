// Building the fixed look-up tables. Sums and exponentials are taken in double precision
// and stored as 32-bit reals.
#include "engine/fixed_tables.h"

#include <cmath>
#include <numbers>

namespace engine {

namespace {

constexpr double kStrip = 1.0e-4;  // strip width of the running normal integral
constexpr double kLevelStep = 0.0005;
constexpr double kLastLevel = 0.49995;  // the integral never reaches 0.5
constexpr double kExpStep = 0.008;      // exponent step of the exp table (1/125)

// Area under the standard normal density over strip n, [(n - 1) h, n h], by its midpoint.
double strip_area(long n) {
  const double mid = (static_cast<double>(n) - 0.5) * kStrip;
  return kStrip / std::sqrt(2.0 * std::numbers::pi) * std::exp(-0.5 * mid * mid);
}

}  // namespace

std::vector<float> build_gauss_table() {
  std::vector<float> table(2 * FixedTables::kGaussLast + 1, 0.0f);
  long n = 1;                       // strips added so far; x = n h
  double integral = strip_area(1);  // F(x)
  double previous = 0.0;            // F(x - h)
  for (std::int32_t k = 1; k <= FixedTables::kGaussLast; ++k) {
    const double level = k == FixedTables::kGaussLast ? kLastLevel : kLevelStep * k;
    while (integral < level) {
      ++n;
      previous = integral;
      integral += strip_area(n);
    }
    // Linear interpolation inside the last strip.
    const double x =
        static_cast<double>(n) * kStrip - kStrip * (integral - level) / (integral - previous);
    table[static_cast<std::size_t>(FixedTables::kGaussLast + k)] = static_cast<float>(x);
    table[static_cast<std::size_t>(FixedTables::kGaussLast - k)] = static_cast<float>(-x);
  }
  return table;
}

std::vector<float> build_exp_table() {
  std::vector<float> table(FixedTables::kExpHighest - FixedTables::kExpLowest + 1, 0.0f);
  // E(m) is the value at the centre of its rounding interval: an index NINT(y) stands for
  // every y within half a step of m, so any other point of the interval would bias every
  // Gaussian weight the same way (the far edge made an unshadowed atom 0.996).
  for (std::int32_t m = FixedTables::kExpLowest; m <= FixedTables::kExpHighest; ++m)
    table[static_cast<std::size_t>(m - FixedTables::kExpLowest)] =
        static_cast<float>(std::exp(kExpStep * m));
  return table;
}

std::vector<std::int32_t> build_root_table() {
  std::vector<std::int32_t> table(FixedTables::kRootLast + 1, 0);
  for (std::int32_t n = 0; n <= FixedTables::kRootLast; ++n)
    table[static_cast<std::size_t>(n)] = static_cast<std::int32_t>(std::lround(std::sqrt(n + 0.5)));
  return table;
}

FixedTables build_fixed_tables() {
  FixedTables tables;
  tables.pi = 4.0f * std::atan(1.0f);
  tables.deg_to_rad = tables.pi * (1.0f / 180.0f);
  tables.gauss_table = build_gauss_table();
  tables.exp_table = build_exp_table();
  tables.root_table = build_root_table();
  return tables;
}

}  // namespace engine
