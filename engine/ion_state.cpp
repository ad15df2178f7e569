// Direction terms of an ion: the direction of a vector, slopes and step signs, and the
// terms tied to the reference direction (cross-section factor, weights, hit offsets).
#include "engine/ion_state.h"

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

constexpr float kTiny = 1.0e-6f;  // replaces zero divisors

}  // namespace

void set_direction(IonDirection& direction, float vx, float vy, float vz) {
  const float transverse = std::sqrt(vx * vx + vy * vy);
  const float length = std::sqrt(vx * vx + vy * vy + vz * vz);
  const float rho = transverse == 0.0f ? kTiny : transverse;
  const float ell = length == 0.0f ? kTiny : length;
  direction.cos_phi = vx / rho;
  direction.sin_phi = vy / rho;
  direction.cos_theta = vz / ell;
  direction.sin_theta = transverse / ell;
  direction.cos_theta_cos_phi = direction.cos_theta * direction.cos_phi;
  direction.cos_theta_sin_phi = direction.cos_theta * direction.sin_phi;
  direction.sin_theta_cos_phi = direction.sin_theta * direction.cos_phi;
  direction.sin_theta_sin_phi = direction.sin_theta * direction.sin_phi;
}

void derive_slopes(IonDirection& direction) {
  direction.tan_theta = direction.cos_theta == 0.0f ? kTiny * direction.sin_theta
                                                    : direction.sin_theta / direction.cos_theta;
  direction.slope_x = direction.tan_theta * direction.cos_phi;
  direction.slope_y = direction.tan_theta * direction.sin_phi;
  // The lateral walks' slopes, once per direction rather than at every step.
  direction.y_per_x = direction.sin_phi / direction.cos_phi;
  direction.x_per_y = direction.cos_phi / direction.sin_phi;
  direction.step_x = direction.cos_phi >= 0.0f ? 1 : -1;
  direction.step_y = direction.sin_phi >= 0.0f ? 1 : -1;
  direction.abs_slope_x = std::fabs(direction.slope_x);
  direction.abs_slope_y = std::fabs(direction.slope_y);
}

void set_reference_terms(IonState& ion, const ScatteringReference& reference, float c) {
  const IonDirection& d = ion.direction;
  const float sin_alpha = std::sqrt(std::fmax(0.0f, 1.0f - c * c));
  const float cross_section = 1.0f / ((c - 1.0f) * (c - 1.0f));
  const float rescale = cross_section / ion.cross_section;
  for (float& w : ion.weight) w *= rescale;
  ion.cross_section = cross_section;
  // Unit vector perpendicular to d toward u.
  Transverse toward_u;
  if (sin_alpha > 0.0f) {
    const float ex = (reference.ux - c * d.sin_theta_cos_phi) / sin_alpha;
    const float ey = (reference.uy - c * d.sin_theta_sin_phi) / sin_alpha;
    const float ez = (reference.uz - c * d.cos_theta) / sin_alpha;
    toward_u = {d.along_e1(ex, ey, ez), d.along_e2(ex, ey)};
  }
  const std::size_t types = std::min(ion.hit_offset.size(), reference.type_angle_cutoff.size());
  for (std::size_t t = 0; t < types; ++t) {
    const float cutoff = reference.type_angle_cutoff[t];
    ion.hit_offset[t] = {cutoff * toward_u.e1, cutoff * toward_u.e2};
  }
}

void update_direction_terms(IonState& ion, const ScatteringReference& reference) {
  derive_slopes(ion.direction);
  const IonDirection& d = ion.direction;
  const float c = d.sin_theta_cos_phi * reference.ux + d.sin_theta_sin_phi * reference.uy +
                  d.cos_theta * reference.uz;
  set_reference_terms(ion, reference, c);
}

}  // namespace engine
