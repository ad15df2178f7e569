// The seam between the ion tracking and the model it samples. Launch, walk and partner search
// are the same for every program; how an examined atom is displaced and what an encounter
// adds to the tallies is a policy, resolved at compile time so that the candidate loop calls
// nothing it cannot inline.
#pragma once

#include <concepts>
#include <cstdint>

#include "engine/ion_state.h"
#include "engine/ion_stream.h"
#include "engine/partner.h"
#include "engine/thermal_displacement.h"

namespace engine {

// What every ion run leaves besides the policy's tally. The run sets ions_run and hit_norm
// and adds to the two sums.
struct RunCounts {
  std::int32_t ions_run = 0;              // grid points of the run, at least 1
  float hit_norm = 0.0f;                  // F0 = 1 / (cos ψ - 1)^2 of the run direction
  double overlayer_deflection_sum = 0.0;  // squared overlayer deflection angles, rad^2
  std::int64_t partner_searches = 0;      // partner searches made, for diagnostics
};

// A policy P, used through const references (the run's data it reads are its members):
// - P::Tally: what the run adds to, a sum over ions; P::IonMemory: state carried along one ion
// (reset by
//   start_ion before the walk of every ion); P::Deviates: the random draw of one partner
//   search, shared by all candidates of that search.
// - weight_count(): trajectory weights the ion carries (each holds the cross-section factor
//   and is rescaled with it at every turn; 1 when the model has none of its own).
// - start_ion(memory): a new ion starts its walk.
// - start_search(ion, stream) -> Deviates: at the start of every partner search, before
//   any candidate; it may draw from the ion's stream (the trajectory depends on what it draws).
// - examine(ion, candidate, deviates, memory, tally) -> Displacement: called for every atom
//   of the search's block, x-cell outermost, then y-cell, then layer; it may add to the
//   tally and gives the atom's displacement δ, which decides the impact parameter
//   p^2 = |(rel - δ) across the path|^2 and so the partner.
// - account_partner(ion, partner, deviates, memory, tally): once per search that found a
//   partner, before the collision (which follows when the partner's w <= 1); it may change
//   the ion's weights and the ion memory.
// - empty_tally(like) -> Tally: a tally shaped as `like` that holds nothing;
//   take(total, part): adds `part` to `total` and leaves `part` holding nothing. The ions of a
//   run are tallied in chunks, each into an empty tally, and the chunks added in order.
// Examine, start_search and account_partner are called from several threads at once, each
// with its own ion, memory, stream and tally: they change nothing else.
template <typename P>
concept TrackingPolicy = requires(const P& policy, IonState& ion, const IonState& seen,
                                  IonStream& stream, typename P::IonMemory& memory,
                                  const typename P::IonMemory& remembered,
                                  const typename P::Deviates& deviates, const Candidate& candidate,
                                  const Partner& partner, typename P::Tally& tally) {
  { policy.weight_count() } -> std::convertible_to<std::int32_t>;
  policy.start_ion(memory);
  { policy.start_search(seen, stream) } -> std::same_as<typename P::Deviates>;
  { policy.examine(seen, candidate, deviates, remembered, tally) } -> std::same_as<Displacement>;
  policy.account_partner(ion, partner, deviates, memory, tally);
  { policy.empty_tally(tally) } -> std::same_as<typename P::Tally>;
  policy.take(tally, tally);
};

}  // namespace engine
