// A whole simulation as one call: the shadowing run and every blocking run of a prepared
// run, with the normalisations, and nothing else: no file, console, environment or clock.
#pragma once

#include <cstdint>

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

// The shadowing run, then per detection angle the blocking run of each kinematic group, each
// normalised as it finishes; progress goes to `progress`. Each run has its key from
// options.seed and its run number (engine::run_number: 0 for the shadowing run, angle and
// group for a blocking run) and runs its ions on options.threads threads. The results depend
// on the prepared run, the fixed tables and the seed only, not on the thread count.
RunResults simulate(const PreparedRun& run, const engine::FixedTables& fixed,
                    const SimulationOptions& options, ProgressSink& progress);

}  // namespace polysim
