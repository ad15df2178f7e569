// The multi-model ion run: the checks, the run's read-only context, and the launch with the
// multi-model accounting.
#include "engine/launch_ions.h"

#include "engine/beam_setup.h"
#include "engine/cell_lookup.h"
#include "engine/ion_launch.h"
#include "engine/multi_model_accounting.h"
#include "engine/tracking_context.h"

namespace engine {

namespace {

// The read-only context of one multi-model run, after its checks.
template <typename Use>
void with_context(const Crystal& crystal, const ModelSet& models, const FixedTables& fixed,
                  const RunTables& tables, const IonRunParameters& run, const HitTally& tally,
                  Use use) {
  check_run_data(crystal, models, tables, run, tally);
  const CellLookup cells = make_cell_lookup(crystal);
  const TrackingContext context{
      crystal,     models,
      fixed,       tables,
      cells,       reference_direction(run.run_azimuth, run.companion_polar, run.type_angle_cutoff),
      tables.z_end};
  use(context);
}

}  // namespace

void launch_ions(const Crystal& crystal, const ModelSet& models, const FixedTables& fixed,
                 const RunTables& tables, const IonRunParameters& run, const RunKey& key,
                 HitTally& tally, int threads) {
  with_context(crystal, models, fixed, tables, run, tally, [&](const TrackingContext& context) {
    // The sums go on from the tally's.
    RunCounts counts;
    counts.overlayer_deflection_sum = tally.overlayer_deflection_sum;
    counts.partner_searches = tally.partner_searches;
    launch_ions(context, run, MultiModelAccounting(context), key, tally, counts, threads);
    tally.ions_run = counts.ions_run;
    tally.hit_norm = counts.hit_norm;
    tally.overlayer_deflection_sum = counts.overlayer_deflection_sum;
    tally.partner_searches = counts.partner_searches;
  });
}

void launch_ion_blocks(const Crystal& crystal, const ModelSet& models, const FixedTables& fixed,
                       const RunTables& tables, const IonRunParameters& run, const RunKey& key,
                       const BlockShare& share, HitTally& facts, int threads) {
  with_context(crystal, models, fixed, tables, run, facts, [&](const TrackingContext& context) {
    const RunCounts counts = launch_blocks(
        context, run, MultiModelAccounting(context), key, facts, share.mine,
        [&](std::int64_t block, HitTally& sums, RunCounts& block_counts) {
          sums.overlayer_deflection_sum = block_counts.overlayer_deflection_sum;
          sums.partner_searches = block_counts.partner_searches;
          block_counts = {};
          share.done(block, sums);
        },
        threads);
    facts.ions_run = counts.ions_run;
    facts.hit_norm = counts.hit_norm;
  });
}

}  // namespace engine
