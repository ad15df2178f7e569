// The fixed look-up tables: stated entries, their defining properties, the clamped
// look-ups, and the normal deviates and thermal displacements drawn from them.
#include "engine/fixed_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/thermal_displacement.h"
#include "shared_tables.h"

namespace {

using engine::FixedTables;
using engine_test::fixed_tables;

// Standard normal distribution function.
double normal_cdf(double x) {
  return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

TEST(FixedTables, PiAndDegreeFactorAreThe32BitValues) {
  const FixedTables& t = fixed_tables();
  EXPECT_EQ(t.pi, 3.14159274f);
  EXPECT_EQ(t.deg_to_rad, 3.14159274f * (1.0f / 180.0f));
  EXPECT_NEAR(t.deg_to_rad * 90.0f, std::numbers::pi / 2, 1e-6);
}

TEST(GaussTable, SizeCentreAndAntisymmetry) {
  const FixedTables& t = fixed_tables();
  ASSERT_EQ(t.gauss_table.size(), 2001u);
  EXPECT_EQ(t.gauss(0), 0.0f);
  for (int k = 1; k <= 1000; ++k) ASSERT_EQ(t.gauss(-k), -t.gauss(k)) << k;
  for (int k = -1000; k < 1000; ++k) ASSERT_LT(t.gauss(k), t.gauss(k + 1)) << k;
}

TEST(GaussTable, EntriesAreNormalQuantilesAtTheirLevels) {
  const FixedTables& t = fixed_tables();
  // The midpoint rule with 1.0E-4 strips and interpolation inside a strip is far more
  // accurate than the 32-bit storage; compare the levels the entries reach.
  for (int k = 1; k <= 1000; ++k) {
    const double level = k == 1000 ? 0.49995 : 0.0005 * k;
    ASSERT_NEAR(normal_cdf(t.gauss(k)) - 0.5, level, 2e-8) << k;
  }
  EXPECT_NEAR(t.gauss(1), 0.0012533, 1e-6);
  EXPECT_NEAR(t.gauss(1000), 3.8906, 1e-4);
}

TEST(ExpTable, StatedEntriesAndEnds) {
  const FixedTables& t = fixed_tables();
  ASSERT_EQ(t.exp_table.size(), 30001u);
  EXPECT_EQ(t.exp_entry(0), 1.0f);
  EXPECT_FLOAT_EQ(t.exp_entry(-1), static_cast<float>(std::exp(-0.008)));
  EXPECT_FLOAT_EQ(t.exp_entry(1), static_cast<float>(std::exp(0.008)));
  EXPECT_FLOAT_EQ(t.exp_entry(5000), static_cast<float>(std::exp(40.0)));
  EXPECT_FLOAT_EQ(t.exp_entry(-1000), static_cast<float>(std::exp(-8.0)));
  EXPECT_EQ(t.exp_entry(-25000), 0.0f);  // exp(-200) lies below the 32-bit range
}

// Each entry is the exponential at the centre of its rounding interval, so the table read
// at rounded arguments is unbiased: its mean over an interval matches the exponential's.
TEST(ExpTable, EntriesAreUnbiasedOverTheirRoundingInterval) {
  const FixedTables& t = fixed_tables();
  // exp(-y / 125) averaged over y in [-0.5, 0.5] around m is E(m) sinh(0.004) / 0.004, which
  // differs from E(m) by 2.7E-6.
  constexpr int kPoints = 1000;
  for (const std::int32_t m : {-2000, -100, -1, 1, 100}) {
    double table = 0.0, exact = 0.0;
    for (int k = 0; k < kPoints; ++k) {
      const double y = m - 0.5 + (k + 0.5) / kPoints;
      table += t.exp_scaled(y);
      exact += std::exp(0.008 * y);
    }
    EXPECT_NEAR(table / exact, 1.0, 1e-5) << m;
  }
}

TEST(ExpTable, LookUpsOutsideTheTableReadTheEndEntries) {
  const FixedTables& t = fixed_tables();
  EXPECT_EQ(t.exp_entry(-25001), t.exp_entry(-25000));
  EXPECT_EQ(t.exp_entry(INT32_MIN), t.exp_entry(-25000));
  EXPECT_EQ(t.exp_entry(5001), t.exp_entry(5000));
  EXPECT_EQ(t.exp_scaled(-1.0e30), t.exp_entry(-25000));
  EXPECT_EQ(t.exp_scaled(1.0e30), t.exp_entry(5000));
  EXPECT_EQ(t.exp_scaled(NAN), t.exp_entry(-25000));
  // Rounding is to the nearest index, halves away from zero.
  EXPECT_EQ(t.exp_scaled(-0.4), t.exp_entry(0));
  EXPECT_EQ(t.exp_scaled(-0.5), t.exp_entry(-1));
  EXPECT_EQ(t.exp_scaled(2.5), t.exp_entry(3));
}

TEST(RootTable, StatedEntriesAndDefinition) {
  const FixedTables& t = fixed_tables();
  ASSERT_EQ(t.root_table.size(), 400001u);
  EXPECT_EQ(t.root(0), 1);
  EXPECT_EQ(t.root(2), 2);
  EXPECT_EQ(t.root(400000), 632);
  for (int n = 0; n <= 400000; n += 997) {
    const int i = t.root(n);
    ASSERT_LE((i - 0.5) * (i - 0.5), n + 0.5) << n;
    ASSERT_GT((i + 0.5) * (i + 0.5), n + 0.5) << n;
  }
  EXPECT_EQ(t.root(-3), t.root(0));
  EXPECT_EQ(t.root(400001), 632);
}

TEST(RingIndex, NearestHundredthOfAnAngstrom) {
  const FixedTables& t = fixed_tables();
  const struct {
    float rho;
    std::int32_t ring;
  } cases[] = {{0.0f, 1},   {0.004f, 1}, {0.016f, 2}, {0.5f, 50},  {1.234f, 123},
               {6.3f, 630}, {6.4f, 640}, {6.5f, 650}, {7.0f, 700}, {100.0f, 10000}};
  for (const auto& c : cases) EXPECT_EQ(t.ring_index(c.rho * c.rho), c.ring) << c.rho;
  EXPECT_EQ(t.ring_index(1.0e20f), FixedTables::kRingIndexCap);
  EXPECT_EQ(t.ring_index(NAN), FixedTables::kRingIndexCap);
  EXPECT_EQ(t.ring_index(-1.0f), 1);
}

TEST(NormalDeviate, ReadsTheQuantileOfTheRoundedUniform) {
  const FixedTables& t = fixed_tables();
  engine::IonStream generator(engine::run_key(2024, 0), 0);
  engine::IonStream copy = generator;
  for (int k = 0; k < 1000; ++k) {
    const double u = copy.uniform_deviate();
    const auto index = static_cast<std::int32_t>(std::lround(2000.0 * u)) - 1000;
    ASSERT_EQ(engine::standard_normal_deviate(t, generator), t.gauss(index));
  }
}

TEST(NormalDeviate, HasUnitVarianceAndBoundedTails) {
  const FixedTables& t = fixed_tables();
  // Thirty draws per ion, as a run takes them.
  constexpr int kIons = 13334, kPerIon = 30, kDraws = kIons * kPerIon;
  double sum = 0.0, sum2 = 0.0;
  float largest = 0.0f;
  for (std::uint64_t ion = 0; ion < kIons; ++ion) {
    engine::IonStream stream(engine::run_key(7, 0), ion);
    for (int k = 0; k < kPerIon; ++k) {
      const float g = engine::standard_normal_deviate(t, stream);
      sum += g;
      sum2 += static_cast<double>(g) * g;
      largest = std::max(largest, std::fabs(g));
    }
  }
  // Standard errors: 1/sqrt(N) = 0.0016 for the mean, sqrt(2/N) = 0.0022 for the variance.
  EXPECT_NEAR(sum / kDraws, 0.0, 0.008);
  EXPECT_NEAR(sum2 / kDraws, 1.0, 0.012);
  EXPECT_LE(largest, t.gauss(1000));
}

TEST(SearchDisplacement, ThreeDeviatesInOrderSharedByAllCandidates) {
  const FixedTables& t = fixed_tables();
  engine::IonStream generator(engine::run_key(31, 0), 0);
  engine::IonStream copy = generator;
  const engine::SearchDisplacement search(t, generator);
  const float gx = engine::standard_normal_deviate(t, copy);
  const float gy = engine::standard_normal_deviate(t, copy);
  const float gz = engine::standard_normal_deviate(t, copy);
  EXPECT_EQ(generator.uniform_deviate(), copy.uniform_deviate());  // three drawn, no more
  for (const float sigma : {0.05f, 0.1f, 0.2f}) {
    const engine::Displacement d = search.of(sigma);
    EXPECT_EQ(d.x, sigma * gx);
    EXPECT_EQ(d.y, sigma * gy);
    EXPECT_EQ(d.z, sigma * gz);
  }
  const engine::SearchDisplacement next(t, generator);
  EXPECT_NE(next.of(1.0f).x, search.of(1.0f).x);
}

}  // namespace
