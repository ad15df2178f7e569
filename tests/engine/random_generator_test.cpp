// The uniform generator against its published sequence, and the seeding helpers.
#include "engine/random_generator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

constexpr double kScale = 4.656612875245797e-10;  // deviate per unit of state

TEST(RandomGenerator, FirstDeviateFromStateOne) {
  engine::RandomGenerator generator;
  EXPECT_EQ(generator.state(), 1);
  EXPECT_EQ(generator.uniform_deviate(), 48271 * kScale);
  EXPECT_NEAR(kScale, 0x1p-31, 1e-18);
  EXPECT_EQ(generator.state(), 48271);
}

TEST(RandomGenerator, TenThousandthStateIsThePublishedCheckValue) {
  engine::RandomGenerator generator(1);
  for (int k = 0; k < 10000; ++k) generator.uniform_deviate();
  EXPECT_EQ(generator.state(), 399268537);
}

TEST(RandomGenerator, FollowsTheStandardMinimalGeneratorFromAnyPositiveSeed) {
  for (const std::int32_t seed : {1, 42, 123456789, 2147483646}) {
    engine::RandomGenerator generator(seed);
    std::minstd_rand reference(static_cast<std::uint32_t>(seed));
    for (int k = 0; k < 1000; ++k) {
      const double u = generator.uniform_deviate();
      ASSERT_EQ(static_cast<std::uint32_t>(generator.state()), reference()) << "seed " << seed;
      ASSERT_EQ(u, generator.state() * kScale);
    }
  }
}

TEST(RandomGenerator, ZeroStateBehavesAsMinusOne) {
  engine::RandomGenerator zero(0);
  engine::RandomGenerator minus_one(-1);
  EXPECT_EQ(zero.uniform_deviate(), minus_one.uniform_deviate());
  EXPECT_EQ(zero.state(), 2147483647 - 48271);
}

TEST(RandomGenerator, NegativeStatesGiveDeviatesInsideTheOpenInterval) {
  for (const std::int32_t seed : {-1, -2, -44488, -2147483647 + 1, INT32_MIN}) {
    engine::RandomGenerator generator(seed);
    for (int k = 0; k < 100; ++k) {
      const double u = generator.uniform_deviate();
      ASSERT_GT(u, 0.0);
      ASSERT_LT(u, 1.0);
      ASSERT_GT(generator.state(), 0);
    }
  }
}

TEST(RandomGenerator, ExchangeHalvesRotatesBySixteenBits) {
  EXPECT_EQ(engine::exchange_halves(0x00010002), 0x00020001);
  EXPECT_EQ(engine::exchange_halves(0x0000FFFF), static_cast<std::int32_t>(0xFFFF0000u));
  EXPECT_EQ(engine::exchange_halves(static_cast<std::int32_t>(0x80000000u)), 0x00008000);
  EXPECT_EQ(engine::exchange_halves(engine::exchange_halves(-123456)), -123456);
}

TEST(RandomGenerator, ClockSeedPutsTheSecondsInTheHighHalf) {
  // Two clock seeds taken in quick succession differ by a few milliseconds and at most a
  // second: after the exchange of halves the difference sits in the high half.
  const std::int32_t first = engine::exchange_halves(engine::clock_seed());
  const std::int32_t second = engine::exchange_halves(engine::clock_seed());
  const auto difference = static_cast<std::uint32_t>(second) - static_cast<std::uint32_t>(first);
  EXPECT_LT(difference, 2000u);
  engine::RandomGenerator generator;
  generator.seed_from_clock();
  EXPECT_NE(generator.state(), 1);
}

}  // namespace
