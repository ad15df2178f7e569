// The per-ion streams: the Philox4x32-10 block they are made of, the form of the deviates,
// reproducibility, the run numbers and keys, and the statistics a Monte-Carlo run relies on:
// uniform deviates, and no correlation between neighbouring ions, runs or draws.
#include "engine/ion_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

namespace {

using engine::IonStream;
using engine::RunKey;

double deviate_of(std::uint32_t output) {
  return (static_cast<double>(output) + 0.5) * 0x1p-32;
}

// Pearson correlation of paired samples, and whether it is within `sigmas` standard errors
// (1/sqrt(n) for independent samples) of zero.
double correlation(const std::vector<double>& a, const std::vector<double>& b) {
  const double n = static_cast<double>(a.size());
  double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    sa += a[i];
    sb += b[i];
    saa += a[i] * a[i];
    sbb += b[i] * b[i];
    sab += a[i] * b[i];
  }
  const double cov = sab / n - (sa / n) * (sb / n);
  return cov / std::sqrt((saa / n - (sa / n) * (sa / n)) * (sbb / n - (sb / n) * (sb / n)));
}

constexpr double kSigmas = 4.5;  // a fixed-seed test: the bound for a sound generator, not luck

TEST(IonStream, FirstBlockIsThePublishedPhiloxAnswerForZeroKeyAndCounter) {
  // Philox4x32-10 of counter (0, 0, 0, 0) under key (0, 0): block 0 of ion 0.
  IonStream stream(RunKey{0, 0}, 0);
  for (const std::uint32_t output : {0x6627e8d5u, 0xe169c58du, 0xbc57ac4cu, 0x9b00dbd8u})
    EXPECT_EQ(stream.uniform_deviate(), deviate_of(output));
}

TEST(IonStream, DeviatesLieStrictlyInsideTheUnitIntervalOnTheHalfStepGrid) {
  IonStream stream(engine::run_key(1, 0), 0);
  for (int k = 0; k < 100000; ++k) {
    const double u = stream.uniform_deviate();
    ASSERT_GT(u, 0.0);
    ASSERT_LT(u, 1.0);
    const double steps = u * 0x1p32 - 0.5;  // the 32-bit output, exactly
    ASSERT_EQ(steps, std::floor(steps)) << u;
  }
  EXPECT_GT(deviate_of(0), 0.0);
  EXPECT_LT(deviate_of(0xffffffffu), 1.0);
}

TEST(IonStream, SameKeyAndIonRepeatTheStreamAndACopyGoesOnAlike) {
  const RunKey key = engine::run_key(-77, engine::run_number(3));
  IonStream first(key, 12), second(key, 12);
  for (int k = 0; k < 7; ++k) ASSERT_EQ(first.uniform_deviate(), second.uniform_deviate());
  IonStream copy = first;
  for (int k = 0; k < 100; ++k) ASSERT_EQ(first.uniform_deviate(), copy.uniform_deviate());
}

TEST(IonStream, OtherIonRunOrSeedGivesAnotherStream) {
  const double base = IonStream(engine::run_key(5, 1), 0).uniform_deviate();
  EXPECT_NE(IonStream(engine::run_key(5, 1), 1).uniform_deviate(), base);
  EXPECT_NE(IonStream(engine::run_key(5, 2), 0).uniform_deviate(), base);
  EXPECT_NE(IonStream(engine::run_key(6, 1), 0).uniform_deviate(), base);
  EXPECT_NE(IonStream(engine::run_key(5, 1), std::uint64_t{1} << 32).uniform_deviate(), base);
}

TEST(RunNumber, ShadowingIsZeroBlockingAnglesCountFromOneAndGroupsLieApart) {
  EXPECT_EQ(engine::run_number(0), 0u);
  EXPECT_EQ(engine::run_number(1), 1u);
  EXPECT_EQ(engine::run_number(31, 0), 31u);
  EXPECT_EQ(engine::run_number(31, 2), 31u + (std::uint64_t{2} << 32));
  std::set<std::uint64_t> numbers;
  for (std::int32_t group = 0; group < 9; ++group)
    for (std::int32_t angle = 0; angle <= 200; ++angle)
      numbers.insert(engine::run_number(angle, group));
  EXPECT_EQ(numbers.size(), 9u * 201u);
}

TEST(RunKey, KeysOfManyRunsAndSeedsAreDistinctAndTheSeedIsTakenWhole) {
  std::set<std::uint64_t> keys;
  auto add = [&](std::int64_t seed, std::uint64_t run) {
    const RunKey key = engine::run_key(seed, run);
    keys.insert(std::uint64_t{key.high} << 32 | key.low);
  };
  for (std::uint64_t run = 0; run < 20000; ++run) add(1, run);
  // Seeds that differ only in the high half, or only in the sign, give other keys.
  for (const std::int64_t seed :
       {std::int64_t{1} + (std::int64_t{1} << 32), std::int64_t{-1}, INT64_MIN, INT64_MAX})
    add(seed, 0);
  EXPECT_EQ(keys.size(), 20004u);
  EXPECT_EQ(engine::run_key(42, 7), engine::run_key(42, 7));
}

// Uniformity: a chi-square test of 100 equal bins; its standard deviation is sqrt(2 * 99).
TEST(IonStream, DeviatesAreUniform) {
  constexpr int kBins = 100, kDraws = 200000;
  std::vector<int> counts(kBins, 0);
  const RunKey key = engine::run_key(2024, engine::run_number(1));
  // Thirty draws per ion, as an ion with a few dozen partner searches takes them.
  for (std::uint64_t ion = 0; ion < kDraws / 30 + 1; ++ion) {
    IonStream stream(key, ion);
    for (int k = 0; k < 30; ++k) ++counts[static_cast<int>(stream.uniform_deviate() * kBins)];
  }
  double total = 0;
  for (int c : counts) total += c;
  const double expected = total / kBins;
  double chi2 = 0;
  for (int c : counts) chi2 += (c - expected) * (c - expected) / expected;
  EXPECT_LT(std::abs(chi2 - (kBins - 1)), kSigmas * std::sqrt(2.0 * (kBins - 1))) << chi2;
}

// Draw d of ion i against draw d of the neighbouring ion, and of the same ion in the
// neighbouring run; and draw d against draw d + 1 of one ion.
TEST(IonStream, NeighbouringIonsRunsAndDrawsAreUncorrelated) {
  constexpr int kIons = 4000, kDraws = 24;
  const std::int64_t seed = 987654321;
  std::vector<double> ion_a, ion_b, run_a, run_b, lag_a, lag_b;
  for (std::uint64_t ion = 0; ion < kIons; ++ion) {
    IonStream here(engine::run_key(seed, 5), ion);
    IonStream next_ion(engine::run_key(seed, 5), ion + 1);
    IonStream next_run(engine::run_key(seed, 6), ion);
    double previous = 0;
    for (int d = 0; d < kDraws; ++d) {
      const double u = here.uniform_deviate();
      ion_a.push_back(u);
      ion_b.push_back(next_ion.uniform_deviate());
      run_a.push_back(u);
      run_b.push_back(next_run.uniform_deviate());
      if (d > 0) {
        lag_a.push_back(previous);
        lag_b.push_back(u);
      }
      previous = u;
    }
  }
  const struct {
    const char* pairs;
    double r;
    std::size_t n;
  } cases[] = {{"neighbouring ions", correlation(ion_a, ion_b), ion_a.size()},
               {"neighbouring runs", correlation(run_a, run_b), run_a.size()},
               {"successive draws", correlation(lag_a, lag_b), lag_a.size()}};
  for (const auto& c : cases)
    EXPECT_LT(std::abs(c.r), kSigmas / std::sqrt(static_cast<double>(c.n))) << c.pairs;
}

}  // namespace
