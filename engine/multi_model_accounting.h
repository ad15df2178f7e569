// The tracking policy of the multi-model run: every candidate displaced by its reference
// amplitude times the search's shared deviates, and every partner accounted for all model
// pairs at once (hit sums, trajectory weights, ring tables).
#pragma once

#include <cstdint>

#include "engine/hit_accounting.h"
#include "engine/ion_run.h"
#include "engine/ion_state.h"
#include "engine/ion_stream.h"
#include "engine/partner.h"
#include "engine/thermal_displacement.h"
#include "engine/tracking_context.h"
#include "engine/tracking_policy.h"

namespace engine {

class MultiModelAccounting {
 public:
  using Tally = HitTally;  // sized for (vibration_count, structure_count, atom count)
  struct IonMemory {};     // the weights the ion carries are all it needs
  using Deviates = SearchDisplacement;

  explicit MultiModelAccounting(const TrackingContext& context)
      : context_(context), accounting_(context) {}

  // One weight per model pair.
  std::int32_t weight_count() const {
    return context_.models.structure_count * context_.models.vibration_count;
  }
  void start_ion(IonMemory&) const {}
  Deviates start_search(const IonState&, IonStream& stream) const {
    return SearchDisplacement(context_.fixed, stream);
  }
  // Nothing is accounted before the partner is known; the displacement is σ_j (gx, gy, gz).
  Displacement examine(const IonState&, const Candidate& candidate, const Deviates& deviates,
                       const IonMemory&, Tally&) const {
    return deviates.of(candidate.atom->sigma);
  }
  void account_partner(IonState& ion, const Partner& partner, const Deviates&, IonMemory&,
                       Tally& tally) const {
    if (!accounting_.adds_nothing(partner)) accounting_.account(ion, partner, tally);
  }
  // Only the hit sums are the policy's; the run's counts are added by the launch.
  Tally empty_tally(const Tally& like) const {
    return Tally(like.vibration_count, like.structure_count, like.atom_count);
  }
  void take(Tally& total, Tally& part) const {
    for (std::size_t i = 0; i < part.hit_sum.size(); ++i) {
      total.hit_sum[i] += part.hit_sum[i];
      part.hit_sum[i] = 0.0;
    }
  }

 private:
  const TrackingContext& context_;
  PartnerAccounting accounting_;
};

static_assert(TrackingPolicy<MultiModelAccounting>);

}  // namespace engine
