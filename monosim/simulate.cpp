// The run sequence of a monosim simulation over polysim's schedule.
#include "monosim/simulate.h"

#include <cmath>

#include "engine/beam_setup.h"
#include "engine/cell_location.h"
#include "engine/errors.h"
#include "engine/ion_launch.h"
#include "engine/launch_ions.h"
#include "engine/tracking_context.h"

namespace monosim {

namespace {

// ions_run / (cos(run_polar) Yrep Xrep) hit_norm: the flux across the beam that the run
// delivered, times its angular normalisation.
float delivered(const engine::RunCounts& counts, const engine::Crystal& crystal, float run_polar) {
  const float flux = static_cast<float>(counts.ions_run) /
                     (std::cos(run_polar) * crystal.repeat_y * crystal.repeat_x);
  return counts.hit_norm * flux;
}

}  // namespace

void with_run_setup(const PreparedMono& prepared, const engine::FixedTables& fixed,
                    const polysim::ScheduledRun& scheduled, const RunLaunch& launch) {
  const engine::Crystal& crystal = prepared.run.input.crystal;
  const auto atoms = static_cast<std::int32_t>(crystal.atoms.size());
  const engine::RunTables& tables = *scheduled.tables;
  const engine::IonRunParameters& run = scheduled.parameters;
  // The checks of the multi-model run hold for its one model pair; they also bound every
  // index the walk follows.
  engine::check_run_data(crystal, prepared.run.models, tables, run, engine::HitTally(1, 1, atoms));
  if (prepared.vibrations.size() != crystal.atoms.size())
    throw engine::ModelDataError("Ion run: amplitudes not derived for every atom");
  const engine::CellLookup cells = engine::make_cell_lookup(crystal);
  const engine::TrackingContext context{
      crystal,
      prepared.run.models,
      fixed,
      tables,
      cells,
      engine::reference_direction(run.run_azimuth, run.companion_polar, run.type_angle_cutoff),
      tables.z_end};
  launch(context, AnisotropicAccounting(context, prepared.vibrations, prepared.correlation));
}

AtomHits run_one(const PreparedMono& prepared, const engine::FixedTables& fixed,
                 const polysim::ScheduledRun& scheduled, const engine::RunKey& key, int threads,
                 engine::RunCounts& counts) {
  AtomHits hits{std::vector<double>(prepared.run.input.crystal.atoms.size(), 0.0)};
  with_run_setup(prepared, fixed, scheduled,
                 [&](const engine::TrackingContext& context, const AnisotropicAccounting& policy) {
                   engine::launch_ions(context, scheduled.parameters, policy, key, hits, counts,
                                       threads);
                 });
  return hits;
}

MonoResults simulate(const PreparedMono& prepared, const engine::FixedTables& fixed,
                     const polysim::SimulationOptions& options, const RunFinished& finished) {
  LocalMonoRuns local;
  return simulate(prepared, fixed, options, finished, local);
}

MonoResults simulate(const PreparedMono& prepared, const engine::FixedTables& fixed,
                     const polysim::SimulationOptions& options, const RunFinished& finished,
                     MonoIonRuns& runs) {
  const polysim::PreparedRun& run = prepared.run;
  const engine::Crystal& crystal = run.input.crystal;
  const auto atoms = static_cast<std::int32_t>(crystal.atoms.size());
  const auto angles = static_cast<std::int32_t>(run.input.beam.detection_angles.size());
  MonoResults results(atoms, angles);
  const auto key = [&options](std::int32_t angle, std::size_t group) {
    return engine::run_key(options.seed,
                           engine::run_number(angle, static_cast<std::int32_t>(group)));
  };
  engine::RunCounts counts;
  const polysim::ScheduledRun& shadowing = run.schedule.shadowing;
  AtomHits hits = runs.run(prepared, fixed, shadowing, key(0, 0), options.threads, counts);
  results.total_ions = counts.ions_run;
  finished(0);
  float divisor = delivered(counts, crystal, shadowing.parameters.run_polar);
  for (std::int32_t a = 1; a <= atoms; ++a) {
    const auto k = static_cast<std::size_t>(a - 1);
    results.hit_probability[k] =
        static_cast<float>(prepared.vibrations[k].gauss_norm * hits.hit_sum[k] / divisor);
  }
  for (std::int32_t j = 1; j <= angles; ++j) {
    for (std::size_t g = 0; g < run.schedule.group_count; ++g) {
      const polysim::ScheduledRun& blocking = run.schedule.blocking_run(j, g);
      counts = {};
      hits = runs.run(prepared, fixed, blocking, key(j, g), options.threads, counts);
      results.total_ions += counts.ions_run;
      divisor = delivered(counts, crystal, blocking.parameters.run_polar);
      const std::vector<char>& member = run.groups[g].member;
      for (std::int32_t a = 1; a <= atoms; ++a) {
        const auto k = static_cast<std::size_t>(a - 1);
        if (member[k])
          results.yield_at(a, j) =
              static_cast<float>(prepared.vibrations[k].gauss_norm * hits.hit_sum[k] *
                                 results.hit_probability[k] / divisor);
      }
    }
    finished(j);
  }
  return results;
}

}  // namespace monosim
