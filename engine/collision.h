// The binary collision of an ion with its partner: the ion is moved to the point of closest
// approach and deflected in the x-y plane by the tabulated laboratory deflection.
#pragma once

#include "engine/ion_state.h"
#include "engine/partner.h"
#include "engine/tracking_context.h"

namespace engine {

// With p = sqrt(p^2), T = the table entry of the partner's type at p and τ = q1 tan θ (the
// distance along d from the crossing of the atom's depth plane back to the closest
// approach): κ = T / (p - τ T). Returns false, leaving the ion unchanged, when p = 0 (a
// head-on encounter, whose backscatter the tracking cannot follow) or κ is negative or not
// finite (the deflection would turn the ion back). Otherwise moves the ion to the closest
// approach in the partner's unshifted cell, takes over the partner's cell indices, sets d
// to the direction of (sin θ cos φ + κ r'x, sin θ sin φ + κ r'y, cos θ), with r' the
// partner-to-ion vector in its depth plane, and updates the derived terms.
bool collide(IonState& ion, const Partner& partner, const TrackingContext& context);

}  // namespace engine
