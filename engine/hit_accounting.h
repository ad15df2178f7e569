// Hit accounting and multi-model re-weighting at a partner: the hit sums of every model
// pair for a close passage, and the weight factors that turn the reference trajectory into
// a sample of each model (the density ratio of the partner's position when it deflected the
// ion, the ratio of miss probabilities when it did not).
#pragma once

#include "engine/ion_run.h"
#include "engine/ion_state.h"
#include "engine/partner.h"
#include "engine/tracking_context.h"

namespace engine {

// For partner j of change class c (model.h), with D_h = |rel - h|^2 across the path:
// near (D_h <= reach2 of j): HIT(j, v, s) += Wt(s, v) E(-NINT(A_m D_h,s)), where D_h,s
// measures from the hit point of j's site in model s and A_m is A_j (class 1), A_j,1
// (classes 3, 5) or A_j,v (classes 2, 4, 6); the hit uses the weight from before the step.
// Then, for classes 2..6, inside (w <= 1): Wt(s, v) *= a_m E(NINT(A_j |δ|^2 - A_m |δ - δs|^2))
// across the path; outside: Wt(s, v) *= P_m(j, ring of rel - δs) / P_ref(j, ring of rel),
// with factor 1 beyond the last stored ring. Class 1 never changes a weight.
void account_partner(IonState& ion, const Partner& partner, const TrackingContext& context,
                     HitTally& tally);

}  // namespace engine
