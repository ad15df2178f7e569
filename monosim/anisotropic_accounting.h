// The tracking policy of monosim. Every atom of a step's block is displaced by its own rms
// amplitudes along x, y and z times the step's three deviates, or, within the correlation
// distance of the atom the ion met last, drawn conditionally on that atom's displacement; and
// every atom of the block adds to its hit sum the line integral of its Gaussian position
// density along the ion's path through the hit point.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/ion_state.h"
#include "engine/ion_stream.h"
#include "engine/partner.h"
#include "engine/thermal_displacement.h"
#include "engine/tracking_context.h"
#include "engine/tracking_policy.h"
#include "monosim/vibrations.h"

namespace monosim {

// Three standard normal deviates, drawn in the order x, y, z.
struct Deviates {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

// The atom an ion met last (its partner at the last search that found one) with its site and
// its displacement in amplitude units, δ/σ per axis: the neighbour the next atoms' vibrations
// are conditioned on.
struct LastPartner {
  std::int32_t atom = 0;  // 1-based; 0: none yet
  float x = 0.0f, y = 0.0f, z = 0.0f;
  Deviates normalised;
};

// Hit sums per atom (atom a at a - 1): the weighted line integrals of the atoms' densities.
struct AtomHits {
  std::vector<double> hit_sum;
};

// |x| folded to the nearest periodic image of a difference of two coordinates within one
// period P.
inline float nearest_image(float d, float period) {
  if (d > 0.5f * period) return d - period;
  if (d < -0.5f * period) return d + period;
  return d;
}

class AnisotropicAccounting {
 public:
  using Tally = AtomHits;
  using IonMemory = LastPartner;
  using Deviates = monosim::Deviates;

  // `vibrations` per atom (atom a at a - 1) and the correlation; both must outlive the policy.
  AnisotropicAccounting(const engine::TrackingContext& context,
                        std::span<const AtomVibration> vibrations, const Correlation& correlation)
      : context_(context), vibrations_(vibrations), correlation_(correlation) {}

  // The ion carries no model weights: its cross-section factor is all the accounting reads.
  std::int32_t weight_count() const { return 1; }
  void start_ion(IonMemory& last) const { last = {}; }
  Deviates start_search(const engine::IonState&, engine::IonStream& stream) const {
    Deviates n;
    n.x = engine::standard_normal_deviate(context_.fixed, stream);
    n.y = engine::standard_normal_deviate(context_.fixed, stream);
    n.z = engine::standard_normal_deviate(context_.fixed, stream);
    return n;
  }

  engine::Displacement examine(const engine::IonState& ion, const engine::Candidate& candidate,
                               const Deviates& n, const IonMemory& last, Tally& tally) const {
    const AtomVibration& v = vibration(candidate.number);
    const bool correlated = correlated_with(*candidate.atom, last);
    tally.hit_sum[static_cast<std::size_t>(candidate.number - 1)] +=
        line_density(ion, candidate, v, correlated, last);
    const Deviates u = normalised_displacement(n, correlated, last);
    return {v.sigma.x * u.x, v.sigma.y * u.y, v.sigma.z * u.z};
  }

  // The partner becomes the ion's last partner, with the displacement it was given.
  void account_partner(engine::IonState&, const engine::Partner& partner, const Deviates& n,
                       IonMemory& last, Tally&) const {
    if (!correlation_.on) return;
    const engine::Atom& atom = context_.crystal.atoms[static_cast<std::size_t>(partner.atom - 1)];
    const Deviates u = normalised_displacement(n, correlated_with(atom, last), last);
    last = {partner.atom, atom.x, atom.y, atom.z, u};
  }

  Tally empty_tally(const Tally& like) const {
    return {std::vector<double>(like.hit_sum.size(), 0.0)};
  }
  void take(Tally& total, Tally& part) const {
    for (std::size_t a = 0; a < part.hit_sum.size(); ++a) {
      total.hit_sum[a] += part.hit_sum[a];
      part.hit_sum[a] = 0.0;
    }
  }

  // Whether `atom` lies within the correlation distance of the ion's last partner (itself
  // included), between nearest periodic images.
  bool correlated_with(const engine::Atom& atom, const IonMemory& last) const {
    if (!correlation_.on || last.atom == 0) return false;
    const engine::Crystal& crystal = context_.crystal;
    const float dx = nearest_image(atom.x - last.x, crystal.repeat_x);
    const float dy = nearest_image(atom.y - last.y, crystal.repeat_y);
    const float dz = atom.z - last.z;
    return dx * dx + dy * dy + dz * dz <= correlation_.distance2;
  }

  // The displacement in amplitude units: the step's deviates, or the conditional draw.
  Deviates normalised_displacement(const Deviates& n, bool correlated,
                                   const IonMemory& last) const {
    if (!correlated) return n;
    const Deviates& m = last.normalised;
    return {conditional_deviate(n.x, m.x, correlation_),
            conditional_deviate(n.y, m.y, correlation_),
            conditional_deviate(n.z, m.z, correlation_)};
  }

  // F f e^(-Q) / |β|: with r the ion relative to the hit point of the atom's site, α = r/σ and
  // β = d/σ per axis (conditioned: α = (α - c n_last) g, β = β g, f = g^3), and
  // Q = (|α|^2 - (α.β)^2 / |β|^2) / 2, half the squared distance of the mean position from
  // the path in amplitude units. Times the atom's gauss_norm it is the line integral of the
  // density along the path.
  float line_density(const engine::IonState& ion, const engine::Candidate& candidate,
                     const AtomVibration& v, bool correlated, const IonMemory& last) const {
    const engine::IonDirection& d = ion.direction;
    const engine::Transverse& h =
        ion.hit_offset[static_cast<std::size_t>(candidate.atom->type - 1)];
    // The hit offset lies across the path: h = h1 e1 + h2 e2.
    const float rx = candidate.rel.x - (h.e1 * d.cos_theta_cos_phi - h.e2 * d.sin_phi);
    const float ry = candidate.rel.y - (h.e1 * d.cos_theta_sin_phi + h.e2 * d.cos_phi);
    const float rz = candidate.rel.z + h.e1 * d.sin_theta;
    float ax = rx * v.inv_x, ay = ry * v.inv_y, az = rz * v.inv_z;
    float bx = d.sin_theta_cos_phi * v.inv_x, by = d.sin_theta_sin_phi * v.inv_y;
    float bz = d.cos_theta * v.inv_z;
    float f = 1.0f;
    if (correlated) {
      const float c = correlation_.coefficient, g = correlation_.gain;
      const Deviates& m = last.normalised;
      ax = (ax - c * m.x) * g;
      ay = (ay - c * m.y) * g;
      az = (az - c * m.z) * g;
      bx *= g;
      by *= g;
      bz *= g;
      f = correlation_.weight;
    }
    const float bb = bx * bx + by * by + bz * bz;
    const float ab = ax * bx + ay * by + az * bz;
    const float q = 0.5f * (ax * ax + ay * ay + az * az - ab * ab / bb);
    return ion.cross_section * f * std::exp(-q) / std::sqrt(bb);
  }

 private:
  const AtomVibration& vibration(std::int32_t atom) const {
    return vibrations_[static_cast<std::size_t>(atom - 1)];
  }

  const engine::TrackingContext& context_;
  std::span<const AtomVibration> vibrations_;
  const Correlation& correlation_;
};

static_assert(engine::TrackingPolicy<AnisotropicAccounting>);

}  // namespace monosim
