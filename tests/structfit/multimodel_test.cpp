// The model set of one parameter: offsets, counts, centring and the covering amplitude.
#include "structfit/multimodel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "crystal_case.h"

namespace {

using structfit_test::crystal_at;
using structfit_test::parameter;

structfit::BaseCrystal four_atoms() {
  return crystal_at(
      {{0.0f, 0.0f, 0.0f}, {2.0f, 0.0f, 0.0f}, {0.0f, 2.0f, 2.0f}, {2.0f, 2.0f, 2.0f}});
}

TEST(Multimodel, DisplacementParameterBuildsStructureModels) {
  structfit::BaseCrystal crystal = four_atoms();
  // Atom 2 moves along z, atom 3 not at all (negative c4 only), atom 1 along -x.
  const auto p = parameter({{-1.0f, 0, 0, 0, 0, 0}, {0, 0, 2.0f, 0, 0, 0}, {0, 0, 0, -1, 0, 0}});
  std::ostringstream console;
  const structfit::FitModels m = structfit::multimodel(crystal, p, 5, console);
  EXPECT_EQ(console.str(), "");
  EXPECT_EQ(m.structure_count, 5);
  EXPECT_EQ(m.vibration_count, 1);
  ASSERT_TRUE(m.structure_param.has_value());
  EXPECT_FALSE(m.vibration_param.has_value());
  EXPECT_EQ(m.structure_param->values, (std::vector<float>{-0.2f, -0.1f, 0.0f, 0.1f, 0.2f}));
  EXPECT_EQ(m.structure_param->choices, (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(m.last_moved_atom, 2);      // N14
  EXPECT_EQ(m.last_vibrating_atom, 0);  // N15
  EXPECT_EQ(m.displaced_count, 2);      // N18
  EXPECT_EQ(m.vibrated_count, 2);       // N19 = max(N18, N15)
  ASSERT_EQ(m.shifts.size(), 5u * 2u);
  EXPECT_FLOAT_EQ(m.shifts[0 * 2 + 0][0], 0.2f);  // model 1, atom 1: -0.2 * -1
  EXPECT_FLOAT_EQ(m.shifts[4 * 2 + 1][2], 0.4f);  // model 5, atom 2: 0.2 * 2
  EXPECT_EQ(m.shifts[2 * 2 + 1], (std::array<float, 3>{0.0f, 0.0f, 0.0f}));  // middle model
  EXPECT_EQ(m.sigmas, (std::vector<float>{0.1f, 0.1f}));
  // Tracked amplitude sqrt(u^2 + 0.8 d^2): atom 2 reaches 0.4 from its centre, atom 4 none.
  const float atom2 = std::sqrt(0.1f * 0.1f + 0.8f * (0.4f * 0.4f));
  EXPECT_EQ(crystal.atoms[1].amplitude, (std::array<float, 3>{atom2, atom2, atom2}));
  EXPECT_EQ(crystal.atoms[3].amplitude, (std::array<float, 3>{0.1f, 0.1f, 0.1f}));
}

TEST(Multimodel, ModelPositionsAreCentredOnTheListedPosition) {
  structfit::BaseCrystal crystal = four_atoms();
  // Six points: offsets -2s .. +3s, so the centre lies half a step up.
  const auto p = parameter({{0, 0, 0, 0, 0, 0}, {0, 0, 1.0f, 0, 0, 0}}, 0.1f);
  std::ostringstream console;
  const structfit::FitModels m = structfit::multimodel(crystal, p, 6, console);
  EXPECT_FLOAT_EQ(crystal.atoms[1].position[2], 0.05f);
  EXPECT_FLOAT_EQ(m.shifts[0 * 2 + 1][2], -0.25f);
  EXPECT_FLOAT_EQ(m.shifts[5 * 2 + 1][2], 0.25f);
  EXPECT_EQ(crystal.atoms[0].position[2], 0.0f);
}

TEST(Multimodel, VibrationParameterBuildsVibrationModels) {
  structfit::BaseCrystal crystal = four_atoms();
  crystal.atoms[2].amplitude = {0.08f, 0.0f, 0.12f};
  // Atoms 1 and 3 take part (a positive c4..c6); negative or zero c1..c3 make no structure.
  const auto p = parameter({{0, -1.0f, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 1, 0, 0}}, 0.02f);
  EXPECT_TRUE(structfit::is_vibration_parameter(p));
  std::ostringstream console;
  const structfit::FitModels m = structfit::multimodel(crystal, p, 5, console);
  EXPECT_EQ(console.str(), " naf           3\n");
  EXPECT_EQ(m.structure_count, 1);
  EXPECT_EQ(m.vibration_count, 5);
  ASSERT_TRUE(m.vibration_param.has_value());
  // The description starts from the ninth value of the last atom that takes part (atom 3).
  EXPECT_FLOAT_EQ(m.vibration_param->values[0], 0.12f - 0.04f);
  EXPECT_FLOAT_EQ(m.vibration_param->values[4], 0.12f + 0.04f);
  EXPECT_EQ(m.last_moved_atom, 0);
  EXPECT_EQ(m.last_vibrating_atom, 3);
  EXPECT_EQ(m.displaced_count, 1);
  EXPECT_EQ(m.vibrated_count, 3);
  ASSERT_EQ(m.sigmas.size(), 5u * 3u);
  EXPECT_FLOAT_EQ(m.sigmas[0 * 3 + 0], 0.3f - 0.04f);  // w = ninth value of atom 1
  EXPECT_FLOAT_EQ(m.sigmas[0 * 3 + 1], 0.1f);          // atom 2 keeps its rms amplitude
  EXPECT_FLOAT_EQ(m.sigmas[4 * 3 + 2], 0.12f + 0.04f);
  EXPECT_EQ(m.shifts, (std::vector<std::array<float, 3>>{{0.0f, 0.0f, 0.0f}}));
  // The tracked amplitude covers the largest model amplitude.
  EXPECT_FLOAT_EQ(crystal.atoms[0].amplitude[0], 0.3f + 0.04f);
  EXPECT_FLOAT_EQ(crystal.atoms[2].amplitude[2], 0.12f + 0.04f);
}

TEST(Multimodel, CountsOfTheDimensionRecord) {
  structfit::BaseCrystal crystal = four_atoms();
  const auto p = parameter({{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 1, 1, 1}});
  std::ostringstream console;
  structfit::set_model_counts(crystal, structfit::multimodel(crystal, p, 7, console));
  const std::vector<std::int32_t> counts(crystal.counts.begin() + 9, crystal.counts.end());
  // N10..N19: one structure model, seven vibration models, one vibration description.
  EXPECT_EQ(counts, (std::vector<std::int32_t>{1, 7, 0, 1, 0, 3, 1, 1, 1, 3}));
}

}  // namespace
