// Screening lengths, potentials and the closest-approach search.
#include "engine/potential.h"

#include <gtest/gtest.h>

#include <cmath>

#include "coulomb_orbit.h"

namespace {

constexpr double kScreeningScale = 2.1351788;  // 1/Å

TEST(InverseScreeningLength, MoliereHalvesTheIonCharge) {
  for (const int z2 : {1, 6, 29, 79}) {
    // A proton: the target alone sets the length.
    EXPECT_FLOAT_EQ(engine::inverse_screening_length(engine::kMoliere, 1, z2),
                    kScreeningScale * std::cbrt(z2));
    // Helium: sqrt(2/2) = 1.
    EXPECT_FLOAT_EQ(engine::inverse_screening_length(engine::kMoliere, 2, z2),
                    kScreeningScale * std::pow(1.0 + std::sqrt(z2), 2.0 / 3.0));
    EXPECT_FLOAT_EQ(engine::inverse_screening_length(engine::kMoliere, 8, z2),
                    kScreeningScale * std::pow(2.0 + std::sqrt(z2), 2.0 / 3.0));
  }
}

TEST(InverseScreeningLength, UniversalAndEveryOtherSelector) {
  const double expected = kScreeningScale * (std::pow(2.0, 0.23) + std::pow(29.0, 0.23));
  for (const int selector : {1, 2, -1, 7})
    EXPECT_FLOAT_EQ(engine::inverse_screening_length(selector, 2, 29), expected) << selector;
}

TEST(ScreeningFunction, StartsAtOneAndDecays) {
  // The coefficients sum to 1 (Molière) and 1.00007 (universal).
  EXPECT_DOUBLE_EQ(engine::screening_function(engine::kMoliere, 0.0), 1.0);
  EXPECT_NEAR(engine::screening_function(engine::kUniversal, 0.0), 1.00007, 1e-12);
  EXPECT_NEAR(engine::screening_function(engine::kMoliere, 1.0),
              0.10 * std::exp(-6.0) + 0.55 * std::exp(-1.2) + 0.35 * std::exp(-0.3), 1e-15);
  for (const int selector : {engine::kMoliere, engine::kUniversal}) {
    double previous = 1.0;
    for (double x = 0.5; x < 40.0; x += 0.5) {
      const double phi = engine::screening_function(selector, x);
      ASSERT_LT(phi, previous) << x;
      previous = phi;
    }
  }
}

TEST(InteratomicPotential, AnySelectorBeyondOneIsBareCoulomb) {
  for (const int selector : {2, 3, -1}) {
    const engine::PairPotential pair = engine::make_pair_potential(selector, 2, 29);
    EXPECT_FLOAT_EQ(pair.coupling, 2 * 29 * 0.014402f);
    for (const double r : {0.01, 0.5, 3.0})
      EXPECT_DOUBLE_EQ(engine::interatomic_potential(pair, r), pair.coupling / r);
  }
}

TEST(ClosestApproach, MatchesTheCoulombRootToTheStepResolution) {
  const engine::PairPotential pair = engine::make_pair_potential(engine::kBareCoulomb, 2, 29);
  for (const double ec : {0.5, 94.0, 1880.0}) {
    for (int i = 1; i <= 10000; i += 37) {
      const double p = 0.0005 * i;
      // The search ends on steps of 0.1 * 2^-24 Å = 6.0E-9 Å and returns a point within
      // one and a half of them from the root.
      ASSERT_NEAR(engine::closest_approach(pair, p, ec),
                  engine_test::coulomb_closest_approach(pair.coupling, p, ec), 1.2e-8)
          << "ec " << ec << " p " << p;
    }
  }
}

TEST(ClosestApproach, ScreenedRootLiesBetweenImpactParameterAndCoulombRoot) {
  for (const int selector : {engine::kMoliere, engine::kUniversal}) {
    const engine::PairPotential pair = engine::make_pair_potential(selector, 1, 29);
    const double ec = 98.0;
    for (const double p : {0.0005, 0.01, 0.2, 1.0, 5.0}) {
      const double r0 = engine::closest_approach(pair, p, ec);
      EXPECT_GT(r0, p);
      EXPECT_LT(r0, engine_test::coulomb_closest_approach(pair.coupling, p, ec));
      const auto f = [&](double r) {
        return 1.0 - engine::interatomic_potential(pair, r) / ec - p * p / (r * r);
      };
      EXPECT_LT(f(r0 - 1.2e-8), 0.0) << "selector " << selector << " p " << p;
      EXPECT_GT(f(r0 + 1.2e-8), 0.0) << "selector " << selector << " p " << p;
    }
  }
}

TEST(ClosestApproach, DegeneratePairEndsTheSearch) {
  // A vanishing energy would walk outwards without end; the walk stops at a ceiling.
  const engine::PairPotential pair = engine::make_pair_potential(engine::kBareCoulomb, 92, 92);
  const double r0 = engine::closest_approach(pair, 1.0, 1.0e-9);
  EXPECT_TRUE(std::isfinite(r0));
  EXPECT_GT(r0, 100.0);
}

}  // namespace
