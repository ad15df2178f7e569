// The shortcuts of the inner loops give exactly what the plain formulas give, for every input
// that can tell them apart: the rounding without jumps, checked at every half of the table
// ranges and next to it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/rounding.h"

namespace {

// NINT as lround rounds (halves away from zero), limited to [low, high]; a NaN gives low.
std::int32_t plain_nint(double v, std::int32_t low, std::int32_t high) {
  if (std::isnan(v) || v <= low) return low;
  if (v >= high) return high;
  return static_cast<std::int32_t>(std::lround(v));
}

// The values next to v: v itself and its neighbouring doubles and floats.
std::vector<double> around(double v) {
  const auto f = static_cast<float>(v);
  return {v, std::nextafter(v, -INFINITY), std::nextafter(v, INFINITY),
          std::nextafterf(f, -INFINITY), std::nextafterf(f, INFINITY)};
}

// Truncation and the dropped fraction are exact, so two roundings of the same value can differ
// only at a half or next to one: every half and every whole number of the table ranges (the
// exponentials, the Gaussian quantiles, the deflection table) and a little beyond, with its
// neighbours, covers every case.
TEST(ExactShortcuts, NintWithoutJumpsRoundsEveryHalfAsLroundDoes) {
  const struct { std::int32_t low, high; } ranges[] = {{-25000, 5000}, {0, 2000}, {0, 10000}};
  for (const auto& r : ranges) {
    for (std::int32_t k = r.low - 3; k <= r.high + 3; ++k) {
      for (const double v : {k - 0.5, static_cast<double>(k)}) {
        for (const double x : around(v)) {
          ASSERT_EQ(engine::nint_within(x, r.low, r.high), plain_nint(x, r.low, r.high))
              << x << " in " << r.low << ".." << r.high;
        }
      }
    }
    const double wild[] = {std::numeric_limits<double>::quiet_NaN(),
                           INFINITY,
                           -INFINITY,
                           1.0e300,
                           -1.0e300,
                           3.0e9,
                           -3.0e9,
                           -0.0,
                           0.49999999999999994};
    for (const double x : wild)
      EXPECT_EQ(engine::nint_within(x, r.low, r.high), plain_nint(x, r.low, r.high)) << x;
  }
}

}  // namespace
