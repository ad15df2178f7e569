// The shortcuts of the inner loops give exactly what the plain formulas give, for every input
// that can tell them apart: the rounding without jumps, checked at every half of the table
// ranges and next to it; the fold with its count of periods prepared, checked at the ends of
// the ranges it covers; the Gaussian table index formed from the
// generator's raw output, checked at every step; the cell search near its start, checked at
// every edge, next to it and between, from every start.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/cell_location.h"
#include "engine/rounding.h"
#include "engine/thermal_displacement.h"

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

// Without limits, in 32-bit reals: every half and whole number of the exponential table and a
// little beyond, with the neighbouring floats, and the largest magnitudes it is made for.
TEST(ExactShortcuts, NintOfSmallFloatsRoundsEveryHalfAsLroundDoes) {
  for (std::int32_t k = -25003; k <= 5003; ++k) {
    for (const float v : {static_cast<float>(k) - 0.5f, static_cast<float>(k)}) {
      for (const float x : {v, std::nextafterf(v, -INFINITY), std::nextafterf(v, INFINITY)})
        ASSERT_EQ(engine::nint_small(x), std::lround(x)) << x;
    }
  }
  for (const float x : {0.49999997f, -0.49999997f, 8388607.5f, -8388607.5f, 16777215.0f,
                        -16777215.0f, 1.0e-40f, -0.0f})
    EXPECT_EQ(engine::nint_small(x), std::lround(x)) << x;
}

// Equal values, or both NaN.
bool same(float a, float b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

// x - NINT(x / P - 1/2) P as it stands.
float plain_fold(float x, float p) {
  return x - engine::nearest_integer(x / p - 0.5f) * p;
}

// The count of periods rises with x, so it equals -1, 0 and 1 exactly between the prepared
// ends, and the fold agrees with the formula there if it does at each end and next to it.
// The periods span repeat distances, powers of two, odd mantissas, the subnormals and the
// largest floats; beyond the ends and for odd periods the formula takes its own course.
TEST(ExactShortcuts, FoldFromPreparedCountsIsTheFormulaForEveryCoordinate) {
  std::vector<float> periods = {3.615f,
                                3.6f,
                                1.0f,
                                2.0f,
                                0.5f,
                                7.2301f,
                                1.0e-3f,
                                123.457f,
                                1.0e6f,
                                3.0e38f,
                                8.0e37f,
                                1.17549435e-38f,
                                1.0e-40f,
                                1.0e-45f,
                                std::nextafterf(4.0f, 0.0f),
                                std::nextafterf(4.0f, 8.0f)};
  for (std::uint32_t k = 1; k < 4000; ++k)
    periods.push_back(0.001f * static_cast<float>(k) * 1.37f);
  for (const float p : periods) {
    const engine::PeriodicFold fold = engine::prepare_fold(p);
    std::vector<float> xs = {0.0f,      -0.0f,   p,        -p,       0.5f * p,  2.5f * p,
                             -1.5f * p, 1.0e30f, -1.0e30f, INFINITY, -INFINITY, NAN};
    const bool prepared = !std::isnan(fold.zero);
    ASSERT_TRUE(prepared || p > 1.0e37f) << p;  // only huge periods go without
    if (prepared) {
      float count = -1.0f;
      for (const float end : {fold.lowest, fold.zero, fold.one, fold.beyond}) {
        const float below = std::nextafterf(end, -INFINITY), above = std::nextafterf(end, INFINITY);
        xs.insert(xs.end(), {end, below, above});
        // Each end is the lowest float whose count reaches the next number.
        ASSERT_LT(engine::fold_count(below, p), count) << p;
        ASSERT_GE(engine::fold_count(end, p), count) << p;
        count += 1.0f;
      }
    }
    for (const float x : xs)
      ASSERT_TRUE(same(engine::wrap_periodic(fold, x), plain_fold(x, p)))
          << x << " in period " << p;
  }
  for (const float p : {0.0f, -2.0f, INFINITY, NAN}) {  // no period: x left alone
    EXPECT_EQ(engine::wrap_periodic(engine::prepare_fold(p), 1.5f), 1.5f) << p;
  }
}

// The index as the deviate gives it: NINT(2000 u) of the double u of output k.
std::int32_t plain_level(std::uint32_t k) {
  const double u = (static_cast<double>(k) + 0.5) * 0x1p-32;
  return engine::nint_within(2000.0 * u, 0, 2000);
}

// Both indices rise with the output k. The integer one is m from the first output of step m
// to the last output before step m + 1; where the other agrees at both ends of every step, it
// agrees on every one of the 2^32 outputs.
TEST(ExactShortcuts, GaussianIndexFromTheRawOutputIsTheRoundedDeviatesForEveryOutput) {
  constexpr std::int64_t kLastOutput = 0xffffffffLL;
  std::int64_t first = 0;  // first output of step m
  for (std::int32_t m = 0; m <= 2000; ++m) {
    // The first output of step m + 1: 2000 k + 1000 + 2^31 >= (m + 1) 2^32.
    const std::int64_t next =
        m == 2000 ? kLastOutput + 1 : ((m + 1LL) * (1LL << 32) - (1LL << 31) - 1000 + 1999) / 2000;
    for (const std::int64_t k : {first, next - 1}) {
      const auto output = static_cast<std::uint32_t>(k);
      ASSERT_EQ(engine::gauss_level(output), m) << k;
      ASSERT_EQ(plain_level(output), m) << k;
    }
    first = next;
  }
  engine::IonStream stream(engine::run_key(99, 0), 0);
  for (int n = 0; n < 100000; ++n) {
    const std::uint32_t k = stream.next_bits();
    ASSERT_EQ(engine::gauss_level(k), plain_level(k)) << k;
  }
}

// Every x that can tell two searches apart: each edge with its neighbouring floats, points
// between the edges, beyond both ends, the infinities and a NaN; from every start and starts
// outside the list. Edge lists of one to five intervals (the windows of the first and last
// cells overlap the open ends), with a repeated edge, and lists the fast path must refuse.
TEST(ExactShortcuts, CellSearchNearTheStartFindsWhatTheFullSearchFinds) {
  const std::vector<std::vector<float>> lists = {
      {0.0f},
      {0.0f, 3.615f},
      {0.0f, 1.8075f, 3.615f},
      {0.0f, 1.0f, 2.5f, 4.0f},
      {0.0f, 0.5f, 0.5f, 2.0f, 2.25f, 6.0f},
      {-1.0f, 0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f},
      {0.0f, 2.0f, 1.0f, 3.0f},            // not ascending: always the full search
      {0.0f, NAN, 2.0f},                   // nor with a NaN
      {-INFINITY, 0.0f, 1.0f, INFINITY}};  // infinite edges order like any others
  for (const auto& edges : lists) {
    const engine::NearbyCells near = engine::prepare_nearby_cells(edges);
    std::vector<float> xs = {-1.0e30f, 1.0e30f, INFINITY, -INFINITY, NAN};
    for (std::size_t j = 0; j < edges.size(); ++j) {
      const float b = edges[j];
      xs.insert(xs.end(), {b, std::nextafterf(b, -INFINITY), std::nextafterf(b, INFINITY)});
      if (j + 1 < edges.size()) xs.push_back(0.5f * (b + edges[j + 1]));
    }
    const auto n = static_cast<std::int32_t>(edges.size());
    for (std::int32_t start = -1; start <= n + 2; ++start) {
      for (const float x : xs) {
        ASSERT_EQ(engine::locate_cell_near(near, x, start), engine::locate_cell(edges, x, start))
            << x << " from " << start << " in a list of " << n;
      }
    }
  }
  const engine::NearbyCells none = engine::prepare_nearby_cells({});
  EXPECT_EQ(engine::locate_cell_near(none, 1.0f, 2), 1);
}

}  // namespace
