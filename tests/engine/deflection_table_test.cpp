// The deflection table: its fixed entry, its sign pattern, agreement with the quadrature,
// screened against Coulomb, the look-up and the cut-off impact parameters.
#include "engine/deflection_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "engine/errors.h"
#include "engine/scattering.h"
#include "shared_tables.h"

namespace {

using engine::DeflectionTable;
using engine_test::fixed_tables;

// Carbon, copper and gold targets.
const std::vector<engine::AtomType> kTypes{{6, 12.011f}, {29, 63.546f}, {79, 196.97f}};

engine::Beam beam(std::int32_t z, float mass, float energy) {
  engine::Beam b;
  b.ion_z = z;
  b.ion_mass = mass;
  b.ion_energy = energy;
  return b;
}

// The laboratory deflection psi of entry i, in 0..pi.
double deflection(const DeflectionTable& table, std::int32_t type, std::int32_t i) {
  const double psi = std::atan(table.entry(type, i));
  return psi < 0.0 ? psi + std::numbers::pi : psi;
}

class HeliumTable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    table_ = new DeflectionTable(engine::build_deflection_table(
        kTypes, beam(2, 4.0026f, 100.0f), engine::kMoliere, 1.0f, fixed_tables()));
  }
  static void TearDownTestSuite() { delete table_; }
  static const DeflectionTable* table_;
};
const DeflectionTable* HeliumTable::table_ = nullptr;

TEST_F(HeliumTable, EveryTypeStartsWithTheHeadOnEntry) {
  ASSERT_EQ(table_->type_count(), 3);
  EXPECT_EQ(table_->kinematic_factor(), 1.0f);
  for (std::int32_t t = 1; t <= 3; ++t) EXPECT_EQ(table_->entry(t, 0), -1.0e-6f);
}

TEST_F(HeliumTable, EntriesAreLaboratoryTangentsOfTheQuadratureAngle) {
  const engine::ScatteringQuadrature quadrature(fixed_tables().pi);
  for (std::int32_t t = 1; t <= 3; ++t) {
    const engine::AtomType& type = kTypes[static_cast<std::size_t>(t - 1)];
    const engine::PairPotential pair = engine::make_pair_potential(engine::kMoliere, 2, type.z);
    const double m1 = 4.0026f;
    const double m2 = type.mass;
    const double ec = 100.0 * m2 / (m1 + m2);
    for (const int i : {1, 2, 50, 777, 4000, 10000}) {
      const double theta = quadrature.centre_of_mass_angle(pair, 0.0005 * i, ec);
      EXPECT_FLOAT_EQ(table_->entry(t, i), engine::laboratory_tangent(theta, m1 / m2))
          << t << " " << i;
    }
  }
}

TEST_F(HeliumTable, NegativeEntriesFormThePrefixOfBackscattering) {
  // Helium is lighter than every target, so the smallest impact parameters scatter it
  // beyond 90 degrees; the deflection falls with p, so those entries come first.
  for (std::int32_t t = 1; t <= 3; ++t) {
    EXPECT_LT(table_->entry(t, 1), 0.0f) << t;
    std::int32_t i = 1;
    while (i <= DeflectionTable::kLastIndex && table_->entry(t, i) < 0.0f) ++i;
    for (; i <= DeflectionTable::kLastIndex; ++i)
      ASSERT_GE(table_->entry(t, i), 0.0f) << t << " " << i;
    // The deflection falls with p, up to the closest-approach resolution: 1.2e-8 Å of r0
    // moves theta by up to 250 (p/r0)(1.2e-8/r0) <= 3e-6 Å / p (see the scattering tests).
    for (std::int32_t k = 1; k < DeflectionTable::kLastIndex; ++k) {
      const double resolution = 3.0e-6 / (0.0005 * k);
      ASSERT_GE(deflection(*table_, t, k) + resolution, deflection(*table_, t, k + 1))
          << t << " " << k;
    }
  }
}

TEST(DeflectionTable, NoBackscatteringFromLighterOrEqualTargets) {
  // Neon on carbon and on neon: the ion never turns beyond 90 degrees.
  const std::vector<engine::AtomType> types{{6, 12.011f}, {10, 20.18f}};
  const DeflectionTable table = engine::build_deflection_table(
      types, beam(10, 20.18f, 50.0f), engine::kUniversal, 1.0f, fixed_tables());
  for (std::int32_t t = 1; t <= 2; ++t)
    for (std::int32_t i = 1; i <= DeflectionTable::kLastIndex; ++i)
      ASSERT_GE(table.entry(t, i), 0.0f) << t << " " << i;
}

TEST(DeflectionTable, ScreenedDeflectionsLieBelowTheCoulombOnes) {
  const engine::Beam helium = beam(2, 4.0026f, 100.0f);
  const DeflectionTable coulomb =
      engine::build_deflection_table(kTypes, helium, engine::kBareCoulomb, 1.0f, fixed_tables());
  for (const std::int32_t selector : {engine::kMoliere, engine::kUniversal}) {
    const DeflectionTable screened =
        engine::build_deflection_table(kTypes, helium, selector, 1.0f, fixed_tables());
    for (std::int32_t t = 1; t <= 3; ++t)
      for (std::int32_t i = 1; i <= DeflectionTable::kLastIndex; ++i)
        ASSERT_LT(deflection(screened, t, i), deflection(coulomb, t, i))
            << selector << " " << t << " " << i;
  }
}

TEST(DeflectionTable, KinematicFactorScalesTheEnergy) {
  // A table at kinematic factor k equals one built for the beam energy k E0.
  const std::vector<engine::AtomType> copper{kTypes[1]};
  const DeflectionTable scaled = engine::build_deflection_table(
      copper, beam(1, 1.008f, 100.0f), engine::kMoliere, 0.5f, fixed_tables());
  const DeflectionTable direct = engine::build_deflection_table(
      copper, beam(1, 1.008f, 50.0f), engine::kMoliere, 1.0f, fixed_tables());
  EXPECT_EQ(scaled.kinematic_factor(), 0.5f);
  for (std::int32_t i = 0; i <= DeflectionTable::kLastIndex; i += 101)
    ASSERT_EQ(scaled.entry(1, i), direct.entry(1, i)) << i;
}

TEST(DeflectionTable, EnergiesAndMassesMustBePositive) {
  const engine::FixedTables& tables = fixed_tables();
  const struct {
    float mass, energy, factor, target_mass;
  } cases[] = {{4.0f, 0.0f, 1.0f, 12.0f},  {4.0f, 100.0f, 0.0f, 12.0f}, {4.0f, 100.0f, NAN, 12.0f},
               {4.0f, -5.0f, 1.0f, 12.0f}, {0.0f, 100.0f, 1.0f, 12.0f}, {4.0f, 100.0f, 1.0f, 0.0f}};
  for (const auto& c : cases) {
    const std::vector<engine::AtomType> types{{6, c.target_mass}};
    EXPECT_THROW(engine::build_deflection_table(types, beam(2, c.mass, c.energy), engine::kMoliere,
                                                c.factor, tables),
                 engine::PhysicsError);
  }
}

TEST_F(HeliumTable, LookUpRoundsToTheNearestEntryAndStopsAtFiveAngstrom) {
  const struct {
    float p;
    std::int32_t index;
  } cases[] = {{0.0f, 0},     {0.0002f, 0},  {0.0004f, 1},  {0.0006f, 1},    {1.2345f, 2469},
               {4.99f, 9980}, {5.0f, 10000}, {5.3f, 10000}, {1.0e9f, 10000}, {-1.0f, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(table_->at_impact(2, c.p), table_->entry(2, c.index)) << c.p;
  EXPECT_EQ(table_->entry(2, 20000), table_->entry(2, 10000));
}

TEST_F(HeliumTable, CutoffIsTheFirstImpactParameterDeflectingAtMostTheAngle) {
  const float pi = fixed_tables().pi;
  for (const float degrees : {0.01f, 0.1f, 1.0f, 10.0f, 90.0f, 120.0f, 179.0f}) {
    const float alpha = degrees * fixed_tables().deg_to_rad;
    const std::vector<float> cutoff = engine::impact_cutoff(*table_, alpha, pi);
    ASSERT_EQ(cutoff.size(), 3u);
    for (std::int32_t t = 1; t <= 3; ++t) {
      const auto k = static_cast<std::int32_t>(std::lround(cutoff[t - 1] / 0.0005f));
      EXPECT_FLOAT_EQ(cutoff[t - 1], 0.0005f * k);
      ASSERT_GE(k, 1) << degrees;  // entry 0 deflects by nearly 180 degrees
      if (k < DeflectionTable::kLastIndex) {
        EXPECT_LE(std::atan(table_->entry(t, k)) + (table_->entry(t, k) < 0 ? pi : 0.0f), alpha);
      }
      for (std::int32_t j = 0; j < k; ++j) {
        float psi = std::atan(table_->entry(t, j));
        if (psi < 0.0f) psi += pi;
        ASSERT_GT(psi, alpha) << degrees << " " << t << " " << j;
      }
    }
  }
}

TEST(DeflectionTable, AngleBelowTheDeflectionAtFiveAngstromGivesFiveAngstrom) {
  // Coulomb deflections at 5 Å (about 4.5e-3 rad here) stand far above the resolution of
  // the table, so every earlier entry deflects more.
  const DeflectionTable table = engine::build_deflection_table(
      kTypes, beam(2, 4.0026f, 100.0f), engine::kBareCoulomb, 1.0f, fixed_tables());
  double smallest = std::numbers::pi;
  for (std::int32_t t = 1; t <= 3; ++t)
    smallest = std::min(smallest, deflection(table, t, DeflectionTable::kLastIndex));
  for (const float cutoff :
       engine::impact_cutoff(table, static_cast<float>(0.5 * smallest), fixed_tables().pi))
    EXPECT_FLOAT_EQ(cutoff, 5.0f);
}

}  // namespace
