// Walking one ion through the crystal: layer by layer (Z mode), or for grazing directions
// cell edge by cell edge along x or y (X and Y modes), examining a small block of cells at
// every step until the ion leaves the slab or is discarded.
#pragma once

#include <cstdint>

#include "engine/ion_state.h"
#include "engine/ion_stream.h"
#include "engine/partner.h"
#include "engine/partner_search.h"
#include "engine/tracking_context.h"
#include "engine/tracking_policy.h"

namespace engine {

// X when |sx| > |sy| and |sx| > 1; Y when |sy| >= |sx| and |sy| > 1; otherwise Z.
WalkMode choose_walk_mode(const IonDirection& direction);

// Moves the ion along its line to `depth` (Å), folds X and Y into the repeat cell and finds
// their edge intervals.
void move_to_depth(IonState& ion, float depth, const TrackingContext& context);

// The atoms examined around the ion (CellLookup: the block of the mode at kx, ky and the
// layer). Inline: it runs once per step, next to the partner search.
inline CandidateBlock candidate_block(WalkMode mode, const IonState& ion, const CellLookup& cells) {
  return cells.block(mode, ion.kx, ion.ky, ion.layer);
}

// The first examination point of a walk in `mode`: Z mode the start itself; X and Y modes the
// first column plane on the line, at or ahead of the start. False when that lies below the
// end depth (the ion ends at once).
bool enter_walk(WalkMode mode, IonState& ion, const TrackingContext& context);

// The next examination point: Z mode the top edge of the next layer, X and Y modes the next
// column plane in the direction of travel. False when the ion ends there.
bool advance_walk(WalkMode mode, IonState& ion, const TrackingContext& context);

// A walk ends after this many steps, so no direction, however near to grazing, keeps it
// going for ever.
inline constexpr std::int64_t kMostSteps = std::int64_t{1} << 20;

// Walks the ion from its start (position, cell indices, layer 1, direction terms and
// weights set) until it ends, with the policy's displacements and accounting at every step.
// Z mode examines the block around the start, then moves to the top edge of each next layer
// and ends after layer nz. X and Y modes examine every column plane the line crosses once,
// at the crossing, with the lateral cells and periodic image of the crossing point: first
// the plane at or ahead of the start (nothing within reach lies behind a grazing start),
// then one plane on at every step, until the crossing lies below the last z edge. After a
// collision the mode is chosen again and the walk goes on from the partner's cell: its
// column plane (X, Y) or layer (Z) counts as examined, since the ion is at the partner, and
// the next one in the direction of travel is examined next. An ion in X or Y mode that does
// not move deeper (cos θ <= 0) can never reach the end depth and ends at once; a walk also
// ends after kMostSteps steps.
template <TrackingPolicy Policy>
void walk_ion(IonState& ion, const TrackingContext& context, const Policy& policy,
              typename Policy::IonMemory& memory, IonStream& stream, typename Policy::Tally& tally,
              RunCounts& counts) {
  WalkMode mode = choose_walk_mode(ion.direction);
  if (!enter_walk(mode, ion, context)) return;
  for (std::int64_t step = 0; step < kMostSteps; ++step) {
    const StepResult result = step_to_partner(ion, candidate_block(mode, ion, context.cells),
                                              context, policy, memory, stream, tally, counts);
    if (result == StepResult::kDiscarded) return;
    if (result == StepResult::kCollision) mode = choose_walk_mode(ion.direction);
    if (!advance_walk(mode, ion, context)) return;
  }
}

}  // namespace engine
