// A whole simulation as one call: the shadowing run and every blocking run of a prepared
// run, with the normalisations, and nothing else: no file, console, environment or clock.
#pragma once

#include <cstdint>

#include "engine/fixed_tables.h"
#include "engine/ion_run.h"
#include "engine/random_generator.h"
#include "polysim/prepared_run.h"
#include "polysim/progress_sink.h"
#include "polysim/run_results.h"

namespace polysim {

struct SimulationOptions {
  std::int32_t seed = 1;  // state of the random generator before the first deviate
};

// One ion run of `run`'s schedule, drawing its deviates from `generator`: its tally alone.
engine::HitTally run_scheduled(const PreparedRun& run, const engine::FixedTables& fixed,
                               const ScheduledRun& scheduled, engine::RandomGenerator& generator);

// The shadowing run, then per detection angle the blocking run of each kinematic group, all
// on one generator seeded with options.seed, each normalised as it finishes; progress goes
// to `progress`. The results depend on the prepared run, the fixed tables and the seed only.
RunResults simulate(const PreparedRun& run, const engine::FixedTables& fixed,
                    const SimulationOptions& options, ProgressSink& progress);

}  // namespace polysim
