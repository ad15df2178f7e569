// The crystal altered by a parameter vector.
#include "structfit/alter_crystal.h"

#include <gtest/gtest.h>

#include "crystal_case.h"
#include "structfit/fit_errors.h"

namespace {

using structfit_test::crystal_at;
using structfit_test::parameter;

// Three atoms on separate planes of every axis; atom 1 stays at the origin, so the regrouping
// shifts nothing.
structfit::BaseCrystal three_atoms() {
  return crystal_at({{0.0f, 0.0f, 0.0f}, {2.0f, 2.0f, 2.0f}, {4.0f, 4.0f, 4.0f}});
}

TEST(AlterCrystal, AmplitudesAreSetOnlyByPositiveCoefficients) {
  structfit::BaseCrystal crystal = three_atoms();
  const auto p = parameter({{0, 0, 0, 0.0f, -1.0f, 2.0f}, {0, 0, 0, 0.5f, 0.5f, 0.5f}});
  structfit::alter_crystal(crystal, {p}, {0.3f});
  // c4 = 0 and c5 < 0 leave the values; c6 > 0 replaces the value by c6 * p.
  EXPECT_EQ(crystal.atoms[0].amplitude, (std::array<float, 3>{0.1f, 0.2f, 2.0f * 0.3f}));
  EXPECT_EQ(crystal.atoms[1].amplitude[0], 0.5f * 0.3f);
  EXPECT_EQ(crystal.atoms[2].amplitude[0], 0.1f);  // beyond the table
}

TEST(AlterCrystal, NegativeCoefficientsStillMove) {
  structfit::BaseCrystal crystal = three_atoms();
  const auto p = parameter({{0, 0, 0, 0, 0, 0}, {-1.0f, 0.0f, 0.5f, 0, 0, 0}});
  structfit::alter_crystal(crystal, {p}, {0.2f});
  EXPECT_FLOAT_EQ(crystal.atoms[1].position[0], 1.8f);
  EXPECT_FLOAT_EQ(crystal.atoms[1].position[1], 2.0f);
  EXPECT_FLOAT_EQ(crystal.atoms[1].position[2], 2.1f);
  EXPECT_FLOAT_EQ(crystal.edges[0][1], 1.8f);  // the x plane of atom 2 moved with it
}

TEST(AlterCrystal, ParametersApplyInOrderSoALaterAmplitudeWins) {
  structfit::BaseCrystal crystal = three_atoms();
  const auto first = parameter({{0, 0, 1.0f, 1.0f, 0, 0}});
  const auto second = parameter({{0, 0, 1.0f, 2.0f, 0, 0}});
  structfit::alter_crystal(crystal, {first, second}, {0.1f, 0.05f});
  EXPECT_FLOAT_EQ(crystal.atoms[0].amplitude[0], 0.1f);  // 2.0 * 0.05, not 1.0 * 0.1 ...
  EXPECT_FLOAT_EQ(crystal.atoms[0].position[2], 0.0f);   // ... while both moves add: 0.15, at 0
  EXPECT_FLOAT_EQ(crystal.atoms[1].position[2], 2.0f - 0.15f);
}

TEST(AlterCrystal, RefusesTablesLongerThanTheCrystalAndValuesBeyondReals) {
  structfit::BaseCrystal crystal = three_atoms();
  const auto long_table = parameter(std::vector<structfit::ParameterRow>(4));
  EXPECT_THROW(structfit::alter_crystal(crystal, {long_table}, {1.0f}), structfit::SetupRefused);
  const auto huge = parameter({{3.0e38f, 0, 0, 0, 0, 0}});
  EXPECT_THROW(structfit::alter_crystal(crystal, {huge}, {10.0f}), structfit::SetupRefused);
}

}  // namespace
