// The multi-model ion run: the checks, the run's read-only context, and the launch with the
// multi-model accounting.
#include "engine/launch_ions.h"

#include "engine/beam_setup.h"
#include "engine/cell_lookup.h"
#include "engine/ion_launch.h"
#include "engine/multi_model_accounting.h"
#include "engine/tracking_context.h"

namespace engine {

void launch_ions(const Crystal& crystal, const ModelSet& models, const FixedTables& fixed,
                 const RunTables& tables, const IonRunParameters& run, const RunKey& key,
                 HitTally& tally, int threads) {
  check_run_data(crystal, models, tables, run, tally);
  const CellLookup cells = make_cell_lookup(crystal);
  const TrackingContext context{
      crystal,     models,
      fixed,       tables,
      cells,       reference_direction(run.run_azimuth, run.companion_polar, run.type_angle_cutoff),
      tables.z_end};
  // The sums go on from the tally's, term by term as they always did.
  RunCounts counts;
  counts.overlayer_deflection_sum = tally.overlayer_deflection_sum;
  counts.partner_searches = tally.partner_searches;
  launch_ions(context, run, MultiModelAccounting(context), key, tally, counts, threads);
  tally.ions_run = counts.ions_run;
  tally.hit_norm = counts.hit_norm;
  tally.overlayer_deflection_sum = counts.overlayer_deflection_sum;
  tally.partner_searches = counts.partner_searches;
}

}  // namespace engine
