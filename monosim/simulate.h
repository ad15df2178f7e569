// A whole monosim simulation as one call: the shadowing run and the blocking run of every
// detection angle (one per kinematic group of atom types), each ion run with the anisotropic
// accounting, normalised as it finishes. No file, console, environment or clock.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "engine/fixed_tables.h"
#include "engine/ion_stream.h"
#include "engine/tracking_context.h"
#include "engine/tracking_policy.h"
#include "monosim/anisotropic_accounting.h"
#include "monosim/prepared_mono.h"
#include "polysim/run_schedule.h"
#include "polysim/simulate.h"

namespace monosim {

struct MonoResults {
  std::int32_t atom_count = 0, angle_count = 0;
  std::vector<float> hit_probability;  // atom a at a - 1
  std::vector<float> yield;            // (a, j) at (j - 1) N1 + a - 1
  std::int64_t total_ions = 0;         // ions started over all runs

  MonoResults() = default;
  MonoResults(std::int32_t atoms, std::int32_t angles)
      : atom_count(atoms),
        angle_count(angles),
        hit_probability(static_cast<std::size_t>(atoms), 0.0f),
        yield(static_cast<std::size_t>(atoms) * static_cast<std::size_t>(angles), 0.0f) {}

  float& yield_at(std::int32_t a, std::int32_t j) {
    return yield[static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(atom_count) +
                 static_cast<std::size_t>(a - 1)];
  }
  float yield_at(std::int32_t a, std::int32_t j) const {
    return yield[static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(atom_count) +
                 static_cast<std::size_t>(a - 1)];
  }
};

// Launches the ions of a run set up by with_run_setup.
using RunLaunch =
    std::function<void(const engine::TrackingContext& context, const AnisotropicAccounting&)>;

// Sets up one ion run of the schedule with the anisotropic accounting and hands its tracking
// context and accounting to `launch`. Throws engine::ModelDataError when the prepared data do
// not fit together.
void with_run_setup(const PreparedMono& prepared, const engine::FixedTables& fixed,
                    const polysim::ScheduledRun& scheduled, const RunLaunch& launch);

// One ion run of the schedule with the anisotropic accounting, its ions drawing from the
// streams of `key`, on `threads` threads (0: OpenMP's count): the hit sum per atom, the same
// at any thread count. Sets counts.ions_run and counts.hit_norm. Throws
// engine::ModelDataError when the prepared data do not fit together.
AtomHits run_one(const PreparedMono& prepared, const engine::FixedTables& fixed,
                 const polysim::ScheduledRun& scheduled, const engine::RunKey& key, int threads,
                 engine::RunCounts& counts);

// Where the ion runs of a simulation are made: on this process's threads (LocalMonoRuns), or
// shared out among processes. Called once per run, in the order of the runs.
class MonoIonRuns {
 public:
  virtual ~MonoIonRuns() = default;
  // The hit sums and counts of `scheduled`, as run_one gives them.
  virtual AtomHits run(const PreparedMono& prepared, const engine::FixedTables& fixed,
                       const polysim::ScheduledRun& scheduled, const engine::RunKey& key,
                       int threads, engine::RunCounts& counts) = 0;
};

class LocalMonoRuns final : public MonoIonRuns {
 public:
  AtomHits run(const PreparedMono& prepared, const engine::FixedTables& fixed,
               const polysim::ScheduledRun& scheduled, const engine::RunKey& key, int threads,
               engine::RunCounts& counts) override {
    return run_one(prepared, fixed, scheduled, key, threads, counts);
  }
};

// Called after the shadowing run (0) and after the runs of detection angle j (j).
using RunFinished = std::function<void(std::int32_t)>;

// hitting probability = gauss_norm hit_sum / (hit_norm F) after the shadowing run, and per
// angle yield = gauss_norm hit_sum hitting probability / (hit_norm F), F = ions_run /
// (cos(run polar) Yrep Xrep) the flux each run delivered. Run keys as polysim's: the seed of
// `options` with run number 0 (shadowing) or (angle, group).
MonoResults simulate(const PreparedMono& prepared, const engine::FixedTables& fixed,
                     const polysim::SimulationOptions& options, const RunFinished& finished);
// The same with the ion runs made by `runs`.
MonoResults simulate(const PreparedMono& prepared, const engine::FixedTables& fixed,
                     const polysim::SimulationOptions& options, const RunFinished& finished,
                     MonoIonRuns& runs);

// A simulation as the program calls it, with the path of the input file it was read from, so
// that a simulator shared with other processes can hand them the input.
class MonoSimulator {
 public:
  virtual ~MonoSimulator() = default;
  virtual MonoResults simulate(std::string_view input_path, const PreparedMono& prepared,
                               const engine::FixedTables& fixed,
                               const polysim::SimulationOptions& options,
                               const RunFinished& finished) = 0;
};

// The simulation on this process's threads.
class LocalMonoSimulator final : public MonoSimulator {
 public:
  MonoResults simulate(std::string_view, const PreparedMono& prepared,
                       const engine::FixedTables& fixed, const polysim::SimulationOptions& options,
                       const RunFinished& finished) override {
    return monosim::simulate(prepared, fixed, options, finished);
  }
};

}  // namespace monosim
