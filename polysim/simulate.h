// A whole simulation as one call: the shadowing run and every blocking run of a prepared
// run, with the normalisations, and nothing else: no file, console, environment or clock.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/fixed_tables.h"
#include "engine/ion_run.h"
#include "engine/ion_stream.h"
#include "polysim/prepared_run.h"
#include "polysim/progress_sink.h"
#include "polysim/run_results.h"

namespace polysim {

struct SimulationOptions {
  std::int64_t seed = 1;  // the run seed: with the run number, the key of every ion stream
  int threads = 0;        // threads of every ion run; 0: OpenMP's count (OMP_NUM_THREADS)
};

// One ion run of `run`'s schedule, its ions drawing from the streams of `key`, on `threads`
// threads: its tally alone, the same at any thread count.
engine::HitTally run_scheduled(const PreparedRun& run, const engine::FixedTables& fixed,
                               const ScheduledRun& scheduled, const engine::RunKey& key,
                               int threads = 0);

// Where the ion runs of a simulation are made: on this process's threads (LocalIonRuns), or
// shared out among processes. Called once per run, in the order of the runs.
class IonRuns {
 public:
  virtual ~IonRuns() = default;
  // The tally of `scheduled`, as run_scheduled gives it.
  virtual engine::HitTally run(const PreparedRun& run, const engine::FixedTables& fixed,
                               const ScheduledRun& scheduled, const engine::RunKey& key,
                               int threads) = 0;
};

class LocalIonRuns final : public IonRuns {
 public:
  engine::HitTally run(const PreparedRun& run, const engine::FixedTables& fixed,
                       const ScheduledRun& scheduled, const engine::RunKey& key,
                       int threads) override {
    return run_scheduled(run, fixed, scheduled, key, threads);
  }
};

// The shadowing run, then per detection angle the blocking run of each kinematic group, each
// normalised as it finishes; progress goes to `progress`. Each run has its key from
// options.seed and its run number (engine::run_number: 0 for the shadowing run, angle and
// group for a blocking run) and runs its ions on options.threads threads. The results depend
// on the prepared run, the fixed tables and the seed only, not on the thread count.
RunResults simulate(const PreparedRun& run, const engine::FixedTables& fixed,
                    const SimulationOptions& options, ProgressSink& progress);
// The same with the ion runs made by `runs`.
RunResults simulate(const PreparedRun& run, const engine::FixedTables& fixed,
                    const SimulationOptions& options, ProgressSink& progress, IonRuns& runs);

// A simulation as the programs call it, with the path of the input file it was read from, so
// that a simulator shared with other processes can hand them the input.
class Simulator {
 public:
  virtual ~Simulator() = default;
  virtual RunResults simulate(std::string_view input_path, const PreparedRun& run,
                              const engine::FixedTables& fixed, const SimulationOptions& options,
                              ProgressSink& progress) = 0;
};

// The simulation on this process's threads.
class LocalSimulator final : public Simulator {
 public:
  RunResults simulate(std::string_view, const PreparedRun& run, const engine::FixedTables& fixed,
                      const SimulationOptions& options, ProgressSink& progress) override {
    return polysim::simulate(run, fixed, options, progress);
  }
};

}  // namespace polysim
