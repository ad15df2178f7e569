// Launching the ions of one run direction with a tracking policy: a grid of ions over one
// repeat cell, each started along the run direction, smeared (blocking runs), taken through
// the optional overlayer and walked with the policy's displacements and accounting. The
// ion's tables are sized once per run; the ions themselves allocate nothing.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/beam_setup.h"
#include "engine/ion_run.h"
#include "engine/ion_state.h"
#include "engine/ion_stream.h"
#include "engine/ordered_chunks.h"
#include "engine/overlayer.h"
#include "engine/tracking_context.h"
#include "engine/tracking_policy.h"
#include "engine/walk.h"

namespace engine {

// Ions of a run are tallied in chunks of this many, in grid order: the unit of work of a
// thread and of the ordered sum. Fixed, so a run's sums do not depend on the thread count.
inline constexpr std::int64_t kChunkIons = 1024;

// A chunk finished while an earlier one is still running is parked in a spare chunk tally, so
// its thread goes on with the next chunk instead of waiting its turn. Spare tallies: one per
// thread, as long as they take no more than kSpareTallyBytes together, and at least one.
inline constexpr std::size_t kSpareTallyBytes = std::size_t{64} << 20;

template <typename Tally>
int spare_tallies(const Tally& like, int threads) {
  std::size_t bytes = sizeof(Tally);
  if constexpr (requires { like.hit_sum.size(); })
    bytes += like.hit_sum.size() * sizeof(like.hit_sum[0]);
  return static_cast<int>(std::clamp<std::size_t>(kSpareTallyBytes / bytes, 1,
                                                  static_cast<std::size_t>(std::max(threads, 1))));
}

// What every ion start of one run needs besides its grid point: the beam, the start grid with
// the edge intervals of its columns (column_kx[i - 1]) and rows (row_ky[j - 1]), and the
// overlayer.
struct LaunchSetup {
  BeamSetup beam;
  StartGrid grid;
  std::vector<std::int32_t> column_kx, row_ky;
  OverlayerSetup overlayer;
};

// The beam ion of the run direction with `weight_count` weights, the start grid for the ion
// target and, when switched on, the overlayer along the run direction. The grid's edge
// intervals are those of a walk over the grid with i outermost: kx searched upward from 2
// and carried over from one column to the next, ky searched upward from 2 in every column.
LaunchSetup set_up_launch(const TrackingContext& context, const IonRunParameters& run,
                          std::int32_t weight_count);

// The grid point (i, j) of the regular grid with its edge intervals.
struct GridPoint {
  std::int32_t i = 1, j = 1;
  float x = 0.0f, y = 0.0f;
  std::int32_t kx = 2, ky = 2;
};

// Ion n (0-based) of the run: the grid point i = n / ny + 1, j = n mod ny + 1, at the centre
// of its grid cell.
GridPoint grid_point(const LaunchSetup& setup, std::int64_t n);

// Starts the ion of one grid point: the beam direction and weights, the start position
// (regular, or random within the point's grid cell), the blocking smear and the overlayer,
// then, if the direction turned, its derived terms and the start depth of the walk it takes.
// False when the overlayer discarded the ion. Adds the overlayer deflection to
// `overlayer_deflection_sum` (rad^2).
bool start_ion(IonState& ion, const GridPoint& point, const TrackingContext& context,
               const IonRunParameters& run, const LaunchSetup& setup, IonStream& stream,
               double& overlayer_deflection_sum);

// Chunks of a run are summed in blocks of this many chunks (262144 ions), each block from
// empty in chunk order, and the blocks added to the run's sums in block order. A block is the
// unit that separate processes compute and hand over: fixed, so a run's sums are the same
// whichever process computed which block. A run of up to one block sums as a plain chunk
// sum.
inline constexpr std::int64_t kBlockChunks = 256;

inline std::int64_t chunk_count(std::int64_t ions) {
  return (ions + kChunkIons - 1) / kChunkIons;
}
inline std::int64_t block_count(std::int64_t ions) {
  return (chunk_count(ions) + kBlockChunks - 1) / kBlockChunks;
}

// Runs the ions of the blocks of one run direction for which mine(block) is true, with
// `policy` on `threads` threads (0: OpenMP's count). Ion n draws from its own stream, number n
// of the run's key, so what an ion does does not depend on the thread or process that runs it.
// The ions are cut into chunks of kChunkIons, each tallied from empty on one thread; the chunks
// of a block are added in chunk order to a block tally that starts empty, and every block is
// handed to block_done(block, tally, counts) in block order, which must leave tally and counts
// holding nothing (for example: add them to the total). The block tallies are the same at any
// thread count. Holds one chunk tally per thread, the spare tallies of spare_tallies and the
// block tally. Returns the run's ions_run and hit_norm, whoever computes its blocks.
template <TrackingPolicy Policy, typename Mine, typename BlockDone>
RunCounts launch_blocks(const TrackingContext& context, const IonRunParameters& run,
                        const Policy& policy, const RunKey& key, const typename Policy::Tally& like,
                        Mine mine, BlockDone block_done, int threads = 0) {
  const LaunchSetup setup = set_up_launch(context, run, policy.weight_count());
  RunCounts facts;
  facts.ions_run = setup.grid.points();
  facts.hit_norm = setup.beam.cross_section;
  const std::int64_t ions = facts.ions_run;
  const std::int64_t chunks = chunk_count(ions);
  std::vector<std::int64_t> own;  // the chunks of the blocks computed here, in order
  for (std::int64_t b = 0; b < block_count(ions); ++b) {
    if (!mine(b)) continue;
    for (std::int64_t c = b * kBlockChunks; c < std::min(chunks, (b + 1) * kBlockChunks); ++c)
      own.push_back(c);
  }
  struct Part {
    typename Policy::Tally tally;
    RunCounts counts;
    IonState ion;
    typename Policy::IonMemory memory;
  };
  typename Policy::Tally block = policy.empty_tally(like);
  RunCounts block_counts;
  const auto own_chunks = static_cast<std::int64_t>(own.size());
  run_ordered_chunks(
      own_chunks, threads, spare_tallies(like, thread_count(threads, own_chunks)),
      [&] {
        return Part{policy.empty_tally(like), {}, setup.beam.ion, {}};
      },
      [&](std::int64_t k, Part& part) {
        const std::int64_t chunk = own[static_cast<std::size_t>(k)];
        const std::int64_t last = std::min(ions, (chunk + 1) * kChunkIons);
        for (std::int64_t n = chunk * kChunkIons; n < last; ++n) {
          IonStream stream(key, static_cast<std::uint64_t>(n));
          if (!start_ion(part.ion, grid_point(setup, n), context, run, setup, stream,
                         part.counts.overlayer_deflection_sum))
            continue;
          policy.start_ion(part.memory);
          walk_ion(part.ion, context, policy, part.memory, stream, part.tally, part.counts);
        }
      },
      [&](std::int64_t k, Part& part) {
        policy.take(block, part.tally);
        block_counts.overlayer_deflection_sum += part.counts.overlayer_deflection_sum;
        block_counts.partner_searches += part.counts.partner_searches;
        part.counts = {};
        const std::int64_t chunk = own[static_cast<std::size_t>(k)];
        if ((chunk + 1) % kBlockChunks == 0 || chunk + 1 == chunks)
          block_done(chunk / kBlockChunks, block, block_counts);
      });
  return facts;
}

// Runs every ion of one run direction with `policy` on `threads` threads (0: OpenMP's
// count), as launch_blocks with every block, each block added to `tally` and `counts` in
// block order, so the sums are the same at any thread count. Sets counts.ions_run and
// counts.hit_norm. The context must fit the run (launch_ions.h lists the checks of the
// multi-model run).
template <TrackingPolicy Policy>
void launch_ions(const TrackingContext& context, const IonRunParameters& run, const Policy& policy,
                 const RunKey& key, typename Policy::Tally& tally, RunCounts& counts,
                 int threads = 0) {
  const RunCounts facts = launch_blocks(
      context, run, policy, key, tally, [](std::int64_t) { return true; },
      [&](std::int64_t, typename Policy::Tally& block, RunCounts& block_counts) {
        policy.take(tally, block);
        counts.overlayer_deflection_sum += block_counts.overlayer_deflection_sum;
        counts.partner_searches += block_counts.partner_searches;
        block_counts = {};
      },
      threads);
  counts.ions_run = facts.ions_run;
  counts.hit_norm = facts.hit_norm;
}

}  // namespace engine
