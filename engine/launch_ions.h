// One ion run: a grid of ions over one repeat cell, each started along the run direction,
// taken through the optional overlayer and walked through the crystal, adding every close
// passage to the hit sums of all model pairs. The shadowing run and the blocking runs differ
// only in what the driver sets before the call.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/fixed_tables.h"
#include "engine/ion_run.h"
#include "engine/ion_stream.h"
#include "engine/model.h"
#include "engine/run_tables.h"

namespace engine {

// Runs every ion of one run direction with the multi-model accounting
// (multi_model_accounting.h); programs with another accounting call the template of
// ion_launch.h with their own policy.
//
// Reads (unchanged): the crystal with its closed edge lists (the last z edge is not read) and
// z_min; the models with their derived coefficients; the fixed tables; the run tables:
// deflection table of the current energy, type_reach_weight = 1/R_t^2, interaction_reach
// (for the grazing start depth), the ring tables of build_ring_tables for the same radii and
// the end depth z_end. `run` gives the direction, the reference direction with the
// type_angle_cutoff of the detection angle, the ion target, the start mode, the blocking flag
// and the overlayer.
//
// Adds to tally.hit_sum and tally.overlayer_deflection_sum, sets tally.ions_run (the grid
// points nxg nyg, at least 1) and tally.hit_norm (F0). The tally must be sized for
// (vibration_count, structure_count, atom count). Ion n draws from stream n of `key`; the ions run
// on `threads` threads (0: OpenMP's count, OMP_NUM_THREADS or all cores) with the same sums at any
// count.
//
// Throws ModelDataError, before any ion runs, when the data do not fit together: counts
// below 1, tables not sized for the counts, atom types, cells or cell_atom entries out of
// range, change classes that need model data an atom lacks, ring tables not built for the
// model counts, or an overlayer type outside the types.
void launch_ions(const Crystal& crystal, const ModelSet& models, const FixedTables& fixed,
                 const RunTables& tables, const IonRunParameters& run, const RunKey& key,
                 HitTally& tally, int threads = 0);

// The blocks of one run shared with other processes (blocks: ion_launch.h): `mine` tells the
// blocks this process computes; `done` receives each of them in block order, its sums in a
// tally of its own (hit sums, overlayer deflections, partner searches), and must leave that
// tally holding nothing.
struct BlockShare {
  std::function<bool(std::int64_t block)> mine;
  std::function<void(std::int64_t block, HitTally& sums)> done;
};

// launch_ions for the blocks of `share`: the same checks, then the blocks computed here handed
// to share.done. Adds nothing to `facts`' sums; sets facts.ions_run and facts.hit_norm (from
// which block_count gives the run's blocks). `facts` must be sized as for launch_ions.
void launch_ion_blocks(const Crystal& crystal, const ModelSet& models, const FixedTables& fixed,
                       const RunTables& tables, const IonRunParameters& run, const RunKey& key,
                       const BlockShare& share, HitTally& facts, int threads = 0);

// The checks of launch_ions on their own.
void check_run_data(const Crystal& crystal, const ModelSet& models, const RunTables& tables,
                    const IonRunParameters& run, const HitTally& tally);

}  // namespace engine
