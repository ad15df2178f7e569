// The run sequence of a simulation over its schedule.
#include "polysim/simulate.h"

#include "engine/launch_ions.h"
#include "polysim/run_normalisation.h"

namespace polysim {

engine::HitTally run_scheduled(const PreparedRun& run, const engine::FixedTables& fixed,
                               const ScheduledRun& scheduled, const engine::RunKey& key,
                               int threads) {
  engine::HitTally tally(run.models.vibration_count, run.models.structure_count,
                         static_cast<std::int32_t>(run.input.crystal.atoms.size()));
  engine::launch_ions(run.input.crystal, run.models, fixed, *scheduled.tables, scheduled.parameters,
                      key, tally, threads);
  return tally;
}

RunResults simulate(const PreparedRun& run, const engine::FixedTables& fixed,
                    const SimulationOptions& options, ProgressSink& progress) {
  LocalIonRuns local;
  return simulate(run, fixed, options, progress, local);
}

RunResults simulate(const PreparedRun& run, const engine::FixedTables& fixed,
                    const SimulationOptions& options, ProgressSink& progress, IonRuns& runs) {
  const SimulationInput& input = run.input;
  const auto angles = static_cast<std::int32_t>(input.beam.detection_angles.size());
  RunResults results(static_cast<std::int32_t>(input.crystal.atoms.size()),
                     input.models.structure_count, input.models.vibration_count, angles);
  const auto key = [&options](std::int32_t angle, std::size_t group) {
    return engine::run_key(options.seed,
                           engine::run_number(angle, static_cast<std::int32_t>(group)));
  };
  progress.shadowing_starts(run);
  const ScheduledRun& shadowing = run.schedule.shadowing;
  engine::HitTally tally = runs.run(run, fixed, shadowing, key(0, 0), options.threads);
  // The overlayer deflections of every run, added in run order.
  double overlayer_deflection_sum = tally.overlayer_deflection_sum;
  results.total_ions = tally.ions_run;
  normalise_shadowing(tally, input.crystal, run.models,
                      hit_divisor(tally, input.crystal, shadowing.parameters.run_polar, fixed.pi),
                      results);
  progress.shadowing_done(run, results);
  for (std::int32_t j = 1; j <= angles; ++j) {
    progress.blocking_angle_starts(j);
    for (std::size_t g = 0; g < run.schedule.group_count; ++g) {
      const ScheduledRun& blocking = run.schedule.blocking_run(j, g);
      tally = runs.run(run, fixed, blocking, key(j, g), options.threads);
      overlayer_deflection_sum += tally.overlayer_deflection_sum;
      results.total_ions += tally.ions_run;
      const float divisor =
          hit_divisor(tally, input.crystal, blocking.parameters.run_polar, fixed.pi);
      normalise_blocking(tally, input.crystal, run.models, divisor, j, results,
                         run.groups[g].member);
    }
    progress.blocking_angle_done(j);
  }
  results.overlayer_deflection_sum = overlayer_deflection_sum;
  return results;
}

}  // namespace polysim
