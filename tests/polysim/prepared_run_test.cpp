// A prepared run as a value: preparing leaves the input alone and gives equal values; a
// simulation depends on the prepared run and the seed only, whichever thread runs it; the
// schedule of tables follows the rebuild rule of a sequential run, and each run of it can be
// made alone, on any number of threads, with the key it has in the whole simulation.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../engine/shared_tables.h"
#include "engine/fixed_tables.h"
#include "engine/scattering.h"
#include "fixed_seed_data.h"
#include "polysim/input_reader.h"
#include "polysim/prepared_run.h"
#include "polysim/run_normalisation.h"
#include "polysim/simulate.h"
#include "scratch_dir.h"

namespace {

using engine_test::fixed_tables;

// Status lines kept for inspection instead of a status file.
struct KeptLines final : polysim::StatusLines {
  std::vector<std::string> lines;
  void write_group(const std::vector<std::string>& group) override {
    lines.insert(lines.end(), group.begin(), group.end());
  }
  void write_console_only(const std::vector<std::string>& group) override { write_group(group); }
};

polysim::SimulationInput read_input(const std::string& text) {
  polysim_test::ScratchDir dir;
  dir.write("in.dat", text);
  KeptLines status;
  return polysim::read_simulation_input(dir.file("in.dat").string(), status);
}

// The O-on-Cu slab of the fixed-seed case (two kinematic groups, random starts) with its
// detection angles replaced: `first`, `step` (degrees) and `count` of them.
polysim::SimulationInput groups_input(float first, float step, int count) {
  polysim::SimulationInput input = read_input(polysim_test::fixed_seed_file("groups.in"));
  input.beam.detection_angles.assign(static_cast<std::size_t>(count), 0.0f);
  input.beam.detection_angles.front() = first;
  input.beam.angle_step = step;
  return input;
}

TEST(PreparedRun, PreparingLeavesTheInputAloneAndGivesEqualValues) {
  const polysim::SimulationInput input = read_input(polysim_test::fixed_seed_file("groups.in"));
  const polysim::SimulationInput before = input;
  const polysim::PreparedRun first = polysim::prepare_run(input, fixed_tables());
  EXPECT_TRUE(input == before);
  const polysim::PreparedRun second = polysim::prepare_run(input, fixed_tables());
  EXPECT_TRUE(first == second);
  EXPECT_FALSE(first.input == input);  // the prepared copy is in radians
  // The tables of a group that needs no rebuild are one object shared by its angles.
  const polysim::RunSchedule& schedule = first.schedule;
  ASSERT_EQ(schedule.group_count, 2u);
  std::set<const engine::RunTables*> copper;
  for (std::int32_t j = 1; j <= 6; ++j) copper.insert(schedule.blocking_run(j, 0).tables.get());
  EXPECT_EQ(copper.size(), 1u);
}

TEST(Simulate, SameSeedGivesIdenticalResultsInAnyThreadAndAtAnyThreadCount) {
  const polysim::PreparedRun run = polysim::prepare_run(
      read_input(polysim_test::fixed_seed_file("overlayer.in")), fixed_tables());
  polysim::SilentProgress silent;
  const polysim::RunResults serial = polysim::simulate(run, fixed_tables(), {4711}, silent);
  EXPECT_TRUE(polysim::simulate(run, fixed_tables(), {4711}, silent) == serial);
  EXPECT_FALSE(polysim::simulate(run, fixed_tables(), {4712}, silent) == serial);
  for (const int threads : {1, 2, 3})
    EXPECT_TRUE(polysim::simulate(run, fixed_tables(), {4711, threads}, silent) == serial)
        << threads;
  std::vector<polysim::RunResults> parallel(3);
  std::vector<std::thread> threads;
  for (polysim::RunResults& results : parallel)
    threads.emplace_back([&run, &results] {
      polysim::SilentProgress quiet;
      results = polysim::simulate(run, fixed_tables(), {4711}, quiet);
    });
  for (std::thread& thread : threads) thread.join();
  for (const polysim::RunResults& results : parallel) EXPECT_TRUE(results == serial);
}

// The hitting probabilities and the blocked yields of model pair (1, 1) for every atom.
std::vector<double> pair_one_values(const polysim::RunResults& results, int atoms, int angles) {
  std::vector<double> values;
  for (std::int32_t a = 1; a <= atoms; ++a) {
    values.push_back(results.hit_probability(1, 1, a));
    for (std::int32_t j = 1; j <= angles; ++j) values.push_back(results.block_yield(1, 1, a, j));
  }
  return values;
}

// Two seeds give other numbers that agree within their statistical error: the standard
// deviation of each value is the spread over sixteen further seeds, and the squared
// differences in units of 2 sd^2 average about 1 (15/13 for an estimated sd).
TEST(Simulate, DifferentSeedsDifferWithinTheirStatisticalError) {
  constexpr int kAtoms = 5, kAngles = 3, kSpreadSeeds = 16;
  const polysim::PreparedRun run =
      polysim::prepare_run(groups_input(100.0f, 15.0f, kAngles), fixed_tables());
  polysim::SilentProgress silent;
  const auto values = [&](std::int64_t seed) {
    return pair_one_values(polysim::simulate(run, fixed_tables(), {seed}, silent), kAtoms, kAngles);
  };
  const std::vector<double> a = values(11), b = values(12);
  EXPECT_NE(a, b);
  std::vector<double> sum(a.size()), sum2(a.size());
  for (std::int64_t seed = 100; seed < 100 + kSpreadSeeds; ++seed) {
    const std::vector<double> v = values(seed);
    for (std::size_t i = 0; i < v.size(); ++i) {
      sum[i] += v[i];
      sum2[i] += v[i] * v[i];
    }
  }
  double z2 = 0.0;
  int compared = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const double mean = sum[i] / kSpreadSeeds;
    const double variance = (sum2[i] - kSpreadSeeds * mean * mean) / (kSpreadSeeds - 1);
    if (!(variance > 1e-12 * mean * mean)) {
      EXPECT_EQ(a[i], b[i]) << i;  // no spread: a value the seed does not change
      continue;
    }
    const double z = (a[i] - b[i]) / std::sqrt(2.0 * variance);
    EXPECT_LT(std::fabs(z), 5.0) << "value " << i;
    z2 += z * z;
    ++compared;
  }
  ASSERT_GE(compared, kAtoms * kAngles);
  EXPECT_LT(z2 / compared, 2.5) << compared << " values";
}

// The rule of a sequential run, restated: a group's deflection table is rebuilt when its
// kinematic factor moved by more than 0.02 from that of the last rebuild (1 at the beam).
void expect_sequential_rebuilds(const polysim::PreparedRun& run, int& near_misses,
                                int& near_rebuilds) {
  const auto angles = static_cast<std::int32_t>(run.input.beam.detection_angles.size());
  for (std::size_t g = 0; g < run.groups.size(); ++g) {
    const float mass =
        run.input.crystal.types[static_cast<std::size_t>(run.groups[g].mass_type - 1)].mass;
    float last = 1.0f;
    const engine::RunTables* previous = run.schedule.shadowing.tables.get();
    for (std::int32_t j = 1; j <= angles; ++j) {
      const float phi = run.input.beam.detection_angles[static_cast<std::size_t>(j - 1)];
      const float factor = engine::kinematic_factor(run.input.beam.ion_mass, mass, phi);
      const float moved = std::fabs(factor - last);
      if (moved > 0.018f && moved <= 0.02f) ++near_misses;
      if (moved > 0.02f && moved < 0.022f) ++near_rebuilds;
      const bool rebuild = moved > 0.02f;
      if (rebuild) last = factor;
      const polysim::ScheduledRun& scheduled = run.schedule.blocking_run(j, g);
      EXPECT_EQ(scheduled.tables->deflection.kinematic_factor(), last) << "angle " << j;
      // The reference angle stays at its limit here: new tables exactly at the rebuilds.
      EXPECT_EQ(scheduled.tables.get() != previous, rebuild) << "angle " << j << " group " << g;
      EXPECT_EQ(scheduled.group, g);
      previous = scheduled.tables.get();
    }
  }
}

TEST(RunSchedule, RebuildsWhereTheSequentialRuleDoesInEitherScanDirection) {
  int near_misses = 0, near_rebuilds = 0;
  for (const float step : {0.7f, -0.7f}) {
    const float first = step > 0.0f ? 95.0f : 125.0f;
    const polysim::PreparedRun run =
        polysim::prepare_run(groups_input(first, step, 43), fixed_tables());
    ASSERT_EQ(run.groups.size(), 2u);
    ASSERT_EQ(run.schedule.blocking.size(), 86u);
    expect_sequential_rebuilds(run, near_misses, near_rebuilds);
  }
  // The scans pass moves just below and just above the threshold.
  EXPECT_GT(near_misses, 0);
  EXPECT_GT(near_rebuilds, 0);
}

TEST(Simulate, OneRunAloneGivesExactlyItsSumsInTheWholeSimulation) {
  const polysim::PreparedRun run =
      polysim::prepare_run(read_input(polysim_test::fixed_seed_file("groups.in")), fixed_tables());
  const polysim::RunSchedule& schedule = run.schedule;
  // Every run with its own key: the seed and its run number.
  const auto key = [](const polysim::ScheduledRun& scheduled) {
    return engine::run_key(97, engine::run_number(scheduled.parameters.angle_index,
                                                  static_cast<std::int32_t>(scheduled.group)));
  };
  std::vector<engine::HitTally> tallies;
  tallies.push_back(
      polysim::run_scheduled(run, fixed_tables(), schedule.shadowing, key(schedule.shadowing), 1));
  for (const polysim::ScheduledRun& blocking : schedule.blocking)
    tallies.push_back(polysim::run_scheduled(run, fixed_tables(), blocking, key(blocking), 1));
  // A blocking run after the light group's rebuild, alone, on three threads.
  const std::size_t k = 1 + 4 * schedule.group_count + 1;  // angle 5, group 2
  const polysim::ScheduledRun& chosen = schedule.blocking[k - 1];
  ASSERT_EQ(chosen.parameters.angle_index, 5);
  ASSERT_EQ(chosen.group, 1u);
  const engine::HitTally single =
      polysim::run_scheduled(run, fixed_tables(), chosen, key(chosen), 3);
  EXPECT_TRUE(static_cast<const engine::HitSums&>(single) ==
              static_cast<const engine::HitSums&>(tallies[k]));
  EXPECT_TRUE(static_cast<const engine::RunFacts&>(single) ==
              static_cast<const engine::RunFacts&>(tallies[k]));
  EXPECT_GT(single.hit(1, 1, 1), 0.0);
  // simulate makes the same runs in the same order.
  const polysim::SimulationInput& input = run.input;
  polysim::RunResults expected(5, 2, 2, 6);
  polysim::normalise_shadowing(
      tallies[0], input.crystal, run.models,
      polysim::hit_divisor(tallies[0], input.crystal, schedule.shadowing.parameters.run_polar,
                           fixed_tables().pi),
      expected);
  for (std::size_t b = 0; b < schedule.blocking.size(); ++b) {
    const polysim::ScheduledRun& blocking = schedule.blocking[b];
    const engine::HitTally& tally = tallies[b + 1];
    polysim::normalise_blocking(
        tally, input.crystal, run.models,
        polysim::hit_divisor(tally, input.crystal, blocking.parameters.run_polar,
                             fixed_tables().pi),
        blocking.parameters.angle_index, expected, run.groups[blocking.group].member);
  }
  polysim::SilentProgress silent;
  const polysim::RunResults results = polysim::simulate(run, fixed_tables(), {97}, silent);
  for (std::int32_t j = 1; j <= 6; ++j)
    for (std::int32_t a = 1; a <= 5; ++a)
      EXPECT_EQ(results.block_yield(2, 2, a, j), expected.block_yield(2, 2, a, j)) << j << a;
  EXPECT_EQ(results.hit_probability(1, 2, 1), expected.hit_probability(1, 2, 1));
}

// Three structure models and no vibration models (N19 = 0): the displaced atoms get ring
// tables and vibrate with their own amplitude in the one vibration model.
TEST(PreparedRun, StructureModelsWithoutVibrationModelsRun) {
  std::string text = polysim_test::fixed_seed_file("groups.in");
  const auto replace = [&text](const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  replace(" 5 2 2 1 3 3 2 4 6 2 2 1 1 7 7 1 1 2 2", " 5 2 2 1 3 3 2 4 6 3 1 1 0 7 7 1 0 2 0");
  replace(" 1 2\n 'sigma top' 2\n 0.1 0.13\n 1 2\n", " 1 2 2\n");
  replace(" 0.1 0.1\n 0.13 0.1\n", " 0.0 0.1 0.0  0.0 0.0 0.0\n\n");
  const polysim::PreparedRun run = polysim::prepare_run(read_input(text), fixed_tables());
  EXPECT_EQ(run.input.models.vibrated_atom_count, 0);
  EXPECT_EQ(run.models.vibrated_atom_count, 2);
  EXPECT_EQ(run.schedule.shadowing.tables->rings.atom_count, 2);
  EXPECT_EQ(run.input.crystal.atoms[0].change_class, 5);
  polysim::SilentProgress silent;
  const polysim::RunResults results = polysim::simulate(run, fixed_tables(), {5}, silent);
  for (std::int32_t s = 1; s <= 3; ++s) EXPECT_GT(results.hit_probability(1, s, 1), 0.5f) << s;
}

}  // namespace
