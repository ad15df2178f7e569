// Blocking runs per kinematic group: which atom types share one, and that every element's
// blocked yield comes from ions of its own energy, whichever element the input lists last.
#include "polysim/kinematic_groups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "engine/fixed_tables.h"
#include "engine/scattering.h"
#include "polysim/input_reader.h"
#include "polysim/prepared_run.h"
#include "polysim/simulate.h"
#include "polysim/status_file.h"
#include "scratch_dir.h"

namespace {

constexpr float kDegree = 0.0174532925f;

engine::Crystal crystal_of(const std::vector<float>& masses, const std::vector<int>& atom_types) {
  engine::Crystal crystal;
  for (const float mass : masses) crystal.types.push_back({1, mass});
  for (const int t : atom_types) {
    engine::Atom atom;
    atom.type = t;
    crystal.atoms.push_back(atom);
  }
  return crystal;
}

TEST(KinematicGroups, TypesWithinTwoHundredthsShareAGroupBySingleLinkage) {
  const std::vector<float> scan{125.0f * kDegree, 135.0f * kDegree, 145.0f * kDegree};
  // Protons: copper and zinc differ by 0.002 in K, masses 60, 80 and 110 by 0.014 and 0.012
  // in neighbouring pairs (linked) but 0.026 from end to end, platinum and tantalum by 0.002,
  // carbon and platinum by 0.2; a target of the ion's own mass sends nothing back (K = 0).
  const float h = 1.008f;
  ASSERT_GT(std::fabs(engine::kinematic_factor(h, 60.0f, 145.0f * kDegree) -
                      engine::kinematic_factor(h, 110.0f, 145.0f * kDegree)),
            polysim::kSameKinematicFactor);
  const struct {
    const char* what;
    std::vector<float> masses;
    std::vector<int> atom_types;
    std::vector<std::vector<std::int32_t>> groups;  // first group first
    std::vector<std::int32_t> mass_types;
  } cases[] = {
      {"one element", {63.546f}, {1, 1, 1}, {{1}}, {1}},
      {"copper and zinc", {63.546f, 65.38f}, {2, 1, 1}, {{1, 2}}, {1}},
      {"chain of three", {60.0f, 80.0f, 110.0f}, {3, 1, 2}, {{1, 2, 3}}, {2}},
      {"carbon last", {195.08f, 12.011f}, {1, 2, 1, 2}, {{2}, {1}}, {2, 1}},
      {"platinum last", {195.08f, 12.011f}, {2, 1, 2, 1}, {{1}, {2}}, {1, 2}},
      {"unused type", {195.08f, 12.011f, 195.08f}, {1, 1}, {{1}}, {1}},
      {"three groups",
       {195.08f, 12.011f, 1.008f, 180.95f},
       {4, 3, 1, 2, 4, 1},
       {{1, 4}, {2}, {3}},
       {1, 2, 3}},
  };
  for (const auto& c : cases) {
    const engine::Crystal crystal = crystal_of(c.masses, c.atom_types);
    const std::vector<polysim::KinematicGroup> groups = polysim::kinematic_groups(crystal, h, scan);
    ASSERT_EQ(groups.size(), c.groups.size()) << c.what;
    for (std::size_t g = 0; g < groups.size(); ++g) {
      EXPECT_EQ(groups[g].types, c.groups[g]) << c.what << " group " << g;
      EXPECT_EQ(groups[g].mass_type, c.mass_types[g]) << c.what << " group " << g;
      for (std::size_t a = 0; a < crystal.atoms.size(); ++a)
        EXPECT_EQ(groups[g].member[a] != 0,
                  std::count(c.groups[g].begin(), c.groups[g].end(), crystal.atoms[a].type) > 0)
            << c.what << " group " << g << " atom " << a + 1;
    }
  }
}

// A platinum atom 2 Å below a carbon atom along the 135 degree exit of 100 keV He ions at
// normal incidence, in a 3 x 3 Å cell: carbon blocks the ions that leave platinum. K is 0.93
// on platinum and 0.31 on carbon, so ions of carbon's energy would see a cone wider by
// sqrt(3). The detection angle is listed kSamples times (angle step 0): each blocking run is
// an independent sample of the same yield, and the tables are built once.
constexpr int kSamples = 4;

std::string platinum_under_carbon(bool carbon_last, const std::string& carbon_mass) {
  const std::string platinum = " 0.5 0.0 1.4142 2 1 2 0.05 0 0 1\n";
  const std::string carbon = " 1.9142 0.0 0.0 3 1 1 0.05 0 0 2\n";
  return " Pt under C\n 0 0\n 0 0 0 0 0 0 0 1\n 2 2 3 1 2 4 2 3 " + std::to_string(kSamples) +
         " 1 1 1 1 0 0 1 1 1 1\n 78 195.08\n 6 " + carbon_mass + "\n 1 0.0\n 0.0 0.0\n" +
         (carbon_last ? platinum + carbon : carbon + platinum) +
         " 3.0 3.0\n 0.0 0.5 1.9142\n 0.0\n -0.5 0.7\n 0.0 0.0 135.0 0.0 1.0\n"
         " 2 4.0026 100.0 1.0E4 1.0E4\n dummy 1\n 0.0\n 1\n sig 1\n 0.05\n 1\n 0.0 0.0 0.0\n"
         " 0.05\n 0\n";
}

// Blocked yield of each element (types 1 and 2): the mean over the samples and its standard
// error.
struct Yields {
  double mean[2] = {};
  double error[2] = {};
};

Yields element_yields(const std::string& text) {
  static const engine::FixedTables tables = engine::build_fixed_tables();
  polysim_test::ScratchDir dir;
  std::ostringstream console;
  polysim::StatusFile status((dir.path() / "run.status").string(), console);
  dir.write("in.dat", text);
  const polysim::PreparedRun run = polysim::prepare_run(
      polysim::read_simulation_input((dir.path() / "in.dat").string(), status), tables);
  polysim::SilentProgress silent;
  const polysim::RunResults results = polysim::simulate(run, tables, {11}, silent);
  double sum[2] = {}, sum2[2] = {};
  for (std::int32_t j = 1; j <= kSamples; ++j) {
    for (std::int32_t a = 1; a <= 2; ++a) {
      const int e = run.input.crystal.atoms[static_cast<std::size_t>(a - 1)].type - 1;
      const double y = results.block_yield(1, 1, a, j);
      sum[e] += y;
      sum2[e] += y * y;
    }
  }
  Yields out;
  for (int e = 0; e < 2; ++e) {
    out.mean[e] = sum[e] / kSamples;
    const double variance = (sum2[e] - kSamples * out.mean[e] * out.mean[e]) / (kSamples - 1);
    out.error[e] = std::sqrt(std::max(variance, 0.0) / kSamples);
  }
  return out;
}

// Four standard errors of a difference, and at least 1 % of the yield: with a regular grid
// of start points the spread of the samples understates the error at an unblocked atom.
void expect_same(const Yields& a, const Yields& b, int element, const char* what) {
  const double allowed =
      std::max(4.0 * std::hypot(a.error[element], b.error[element]), 0.01 * a.mean[element]);
  EXPECT_NEAR(a.mean[element], b.mean[element], allowed) << what;
}

TEST(KinematicGroups, EachElementsYieldDoesNotDependOnWhichIsLast) {
  const Yields carbon_last = element_yields(platinum_under_carbon(true, "12.011"));
  const Yields platinum_last = element_yields(platinum_under_carbon(false, "12.011"));
  expect_same(carbon_last, platinum_last, 0, "platinum");
  expect_same(carbon_last, platinum_last, 1, "carbon");
  // Platinum lies in carbon's cone, well below its unblocked yield of 1; carbon is unblocked.
  EXPECT_LT(carbon_last.mean[0], 0.7);
  EXPECT_NEAR(carbon_last.mean[1], 1.0, 0.01);
}

TEST(KinematicGroups, HeavyEmitterUnderALightAtomKeepsItsConeWidth) {
  // Carbon given platinum's mass: one group, every ion at platinum's energy; small-angle
  // deflections by carbon depend on the energy only, so platinum's dip is the reference. Ions
  // of carbon's energy would make it deeper (0.07 against 0.44).
  const Yields light = element_yields(platinum_under_carbon(true, "12.011"));
  const Yields heavy = element_yields(platinum_under_carbon(true, "195.08"));
  expect_same(light, heavy, 0, "platinum");
}

}  // namespace
