// Hit accounting and multi-model re-weighting at a partner: the hit sums of every model
// pair for a close passage, and the weight factors that turn the reference trajectory into
// a sample of each model (the density ratio of the partner's position when it deflected the
// ion, the ratio of miss probabilities when it did not).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/ion_run.h"
#include "engine/ion_state.h"
#include "engine/partner.h"
#include "engine/tracking_context.h"

namespace engine {

// The accounting of one ion run, with the model amplitudes of every atom that carries them
// laid out per atom (the coefficients A_j,v and ratios a_j,v of v = 1..N11 side by side), so
// that the loops over the model pairs read memory in order and the compiler vectorises them.
//
// For partner j of change class c (model.h), with D_h = |rel - h|^2 across the path:
// near (D_h <= reach2 of j): HIT(j, v, s) += Wt(s, v) E(-NINT(A_m D_h,s)), where D_h,s
// measures from the hit point of j's site in model s and A_m is A_j (class 1), A_j,1
// (classes 3, 5) or A_j,v (classes 2, 4, 6); the hit uses the weight from before the step.
// Then, for classes 2..6, inside (w <= 1): Wt(s, v) *= a_m E(NINT(A_j |δ|^2 - A_m |δ - δs|^2))
// across the path; outside: Wt(s, v) *= P_m(j, ring of rel - δs) / P_ref(j, ring of rel),
// with factor 1 beyond the last stored ring. Class 1 never changes a weight.
class PartnerAccounting {
 public:
  explicit PartnerAccounting(const TrackingContext& context);

  // True for a partner whose accounting changes nothing: class 1 (no model changes it) and
  // beyond its reach (no hit). Most partners of a slab are such bulk atoms passed at a
  // distance, so the run skips them before the call.
  bool adds_nothing(const Partner& partner) const {
    const Atom& atom = context_.crystal.atoms[static_cast<std::size_t>(partner.atom - 1)];
    const float hit2 = partner.hit.e1 * partner.hit.e1 + partner.hit.e2 * partner.hit.e2;
    return atom.change_class == 1 && !(hit2 <= atom.reach2);
  }

  void account(IonState& ion, const Partner& partner, HitTally& tally) const;

 private:
  const TrackingContext& context_;
  std::vector<float> coeff_rows_;  // A_a,v at (a - 1) N11 + v - 1, atoms with model amplitudes
  std::vector<float> ratio_rows_;  // a_a,v, the same layout
  // Per atom the largest A_a,v, infinite when some A_a,v is not a positive finite number.
  std::vector<float> largest_coeff_;
  // δs of displaced atom a in structure model s at (a - 1) N10 + s - 1.
  std::vector<Shift> shift_rows_;
};

}  // namespace engine
