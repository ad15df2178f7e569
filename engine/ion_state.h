// The state of one ion on its way through the crystal: position, direction and the terms
// derived from it, cell indices, and the per-model-pair trajectory weights with the
// cross-section factor and the hit offsets that follow the direction.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace engine {

// Direction d = (sin θ cos φ, sin θ sin φ, cos θ) with its transverse unit vectors
// e1 = (cos θ cos φ, cos θ sin φ, -sin θ) and e2 = (-sin φ, cos φ, 0).
struct IonDirection {
  float cos_phi = 1.0f, sin_phi = 0.0f, cos_theta = 1.0f, sin_theta = 0.0f;
  float cos_theta_cos_phi = 1.0f, cos_theta_sin_phi = 0.0f;
  float sin_theta_cos_phi = 0.0f, sin_theta_sin_phi = 0.0f;
  // Derived terms (derive_slopes):
  float tan_theta = 0.0f;
  float slope_x = 0.0f, slope_y = 0.0f;  // dX/dZ and dY/dZ
  float y_per_x = 0.0f, x_per_y = 0.0f;  // dY/dX = sin φ / cos φ and dX/dY = cos φ / sin φ
  float abs_slope_x = 0.0f, abs_slope_y = 0.0f;
  std::int32_t step_x = 1, step_y = 1;  // sign(cos φ), sign(sin φ), with sign(0) = +1

  // Components of a vector (Å) along e1 and e2.
  float along_e1(float x, float y, float z) const {
    return cos_theta_cos_phi * x + cos_theta_sin_phi * y - sin_theta * z;
  }
  float along_e2(float x, float y) const { return -sin_phi * x + cos_phi * y; }
};

// A vector's components along e1 and e2 of the current direction, Å.
struct Transverse {
  float e1 = 0.0f, e2 = 0.0f;
};

// The other leg of the scattering geometry: the unit reference direction u and, per atom
// type, the impact parameter (Å) that deflects the ion by the detection angle.
struct ScatteringReference {
  float ux = 0.0f, uy = 0.0f, uz = 1.0f;
  std::span<const float> type_angle_cutoff;
};

struct IonState {
  float x = 0.0f, y = 0.0f, z = 0.0f;  // position, Å; z is the depth
  IonDirection direction;
  // kx, ky: edge intervals (B(k - 1) <= x < B(k)) after a cell search, the partner's cell
  // after a collision; layer: the current layer index.
  std::int32_t kx = 1, ky = 1, layer = 1;
  float cross_section = 1.0f;  // F = 1 / (cos α - 1)^2, α the angle between d and u
  // Wt(s, v) at (s - 1) * vibration_count + (v - 1); each carries the current F.
  std::vector<float> weight;
  // h(t) per type (index t - 1): the offset of the hit point from an atom's site.
  std::vector<Transverse> hit_offset;
};

// Stores the direction of (vx, vy, vz), not necessarily a unit vector. A zero transverse
// part or a zero vector is replaced by 1.0E-6 in the divisors: vx = vy = 0 gives
// cos φ = sin φ = 0 and sin θ = 0.
void set_direction(IonDirection& direction, float vx, float vy, float vz);

// tan θ (1.0E-6 sin θ when cos θ is exactly 0), the slopes, their absolute values, the
// azimuth ratios (infinite or NaN where the walk that reads them is never taken) and the step
// signs.
void derive_slopes(IonDirection& direction);

// The terms that depend on c = cos α, the cosine between d and u: F_new = 1 / (c - 1)^2,
// every weight rescaled by F_new / F, F = F_new, and h(t) = cutoff(t) (u - c d) / sin α
// projected on e1, e2 (0 when sin α is 0, where the offset has no direction).
void set_reference_terms(IonState& ion, const ScatteringReference& reference, float c);

// After a direction change: derive_slopes, then set_reference_terms with c = d . u.
void update_direction_terms(IonState& ion, const ScatteringReference& reference);

}  // namespace engine
