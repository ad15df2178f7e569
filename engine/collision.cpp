// Moving and deflecting the ion at its partner. The z component of the direction never
// changes: deflections are added across the x-y plane.
#include "engine/collision.h"

#include <cmath>

namespace engine {

bool collide(IonState& ion, const Partner& partner, const TrackingContext& context) {
  const float p = std::sqrt(partner.p2);
  if (!(p > 0.0f)) return false;
  const Atom& atom = context.crystal.atoms[static_cast<std::size_t>(partner.atom - 1)];
  const IonDirection& d = ion.direction;
  const float t = context.tables.deflection.at_impact(atom.type, p);
  const float tau = partner.q1 * d.tan_theta;  // Å
  const float kappa = t / (p - tau * t);       // 1/Å
  if (!(kappa >= 0.0f) || !std::isfinite(kappa)) return false;
  // Partner-to-ion vector carried along d to the partner's depth plane.
  const float px = partner.rx - d.slope_x * partner.rz;
  const float py = partner.ry - d.slope_y * partner.rz;
  const Displacement& delta = partner.displacement;
  ion.x = atom.x + delta.x + px - tau * d.sin_theta_cos_phi;
  ion.y = atom.y + delta.y + py - tau * d.sin_theta_sin_phi;
  ion.z = atom.z + delta.z - tau * d.cos_theta;
  ion.kx = atom.cell_i;
  ion.ky = atom.cell_j;
  ion.layer = atom.layer;
  set_direction(ion.direction, d.sin_theta_cos_phi + kappa * px, d.sin_theta_sin_phi + kappa * py,
                d.cos_theta);
  update_direction_terms(ion, context.reference);
  return true;
}

}  // namespace engine
