// The accounting at a partner, by change class: class 1 only adds hits; the other classes
// go through the structure models (one site projection per model, none for class 2) and for
// each through its row of vibration models, with the amplitude of model 1 (classes 3 and 5)
// or of each model (classes 2, 4 and 6). Model pairs of one atom lie together in hit_sum, in
// the order of the weights, so the row of structure model s is contiguous in both.
#include "engine/hit_accounting.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace engine {

namespace {

float square(float v) {
  return v * v;
}

// The loops over the vibration models of one structure model: contiguous and without
// branches, so that they vectorise
// (the exponential table reads are gathers, which need a target that has them). Where every
// exponent of the row is known to lie in the table, the rounding needs no limits: with 0 <= c_v <=
// c_max and 0 <= D, rounding is monotone, so fl(c_v D) lies in [0, fl(c_max D)].
constexpr float kHitSpan = 25000.0f;      // -c D >= -25000, the lowest table entry
constexpr float kDensityBase = 5000.0f;   // base <= 5000, the highest
constexpr float kDensitySpan = 20000.0f;  // base - c D >= -20000

// hits[v] += weight[v] E(-NINT(coeff[v] hit2)); largest >= every coeff[v] >= 0 (or infinite).
void add_model_hits(double* hits, const float* weight, const float* coeff, float largest,
                    float hit2, std::int32_t n, const FixedTables& fixed) {
  if (0.0f <= hit2 && largest * hit2 <= kHitSpan) {
    for (std::int32_t v = 0; v < n; ++v) hits[v] += weight[v] * fixed.exp_inside(-coeff[v] * hit2);
  } else {
    for (std::int32_t v = 0; v < n; ++v) hits[v] += weight[v] * fixed.exp_scaled(-coeff[v] * hit2);
  }
}

// weight[v] *= ratio[v] E(NINT(base - coeff[v] moved2)), base = A_j |δ|^2.
void scale_by_density(float* weight, const float* coeff, const float* ratio, float largest,
                      float base, float moved2, std::int32_t n, const FixedTables& fixed) {
  if (0.0f <= base && base <= kDensityBase && 0.0f <= moved2 && largest * moved2 <= kDensitySpan) {
    for (std::int32_t v = 0; v < n; ++v)
      weight[v] *= ratio[v] * fixed.exp_inside(base - coeff[v] * moved2);
  } else {
    for (std::int32_t v = 0; v < n; ++v)
      weight[v] *= ratio[v] * fixed.exp_scaled(base - coeff[v] * moved2);
  }
}

// weight[v] *= miss[v] inverse.
void scale_by_miss(float* weight, const float* miss, float inverse, std::int32_t n) {
  for (std::int32_t v = 0; v < n; ++v) weight[v] *= miss[v] * inverse;
}

// hits[v] += weight[v] g.
void add_hits(double* hits, const float* weight, float g, std::int32_t n) {
  for (std::int32_t v = 0; v < n; ++v) hits[v] += weight[v] * g;
}

// weight[v] *= f.
void scale(float* weight, float f, std::int32_t n) {
  for (std::int32_t v = 0; v < n; ++v) weight[v] *= f;
}

// The quantities of structure model s: D_h,s, |δ - δs|^2 and, outside, the ring of the site
// and whether its factor is 1.
struct ModelSite {
  float hit2 = 0.0f;
  float moved2 = 0.0f;
  std::int32_t ring = 0;
  bool unit_factor = false;
};

// One encounter with a partner of class 2..6, read once per call into values of its own: the
// loops store into the weights and hit sums through pointers, and whatever they might alias
// the compiler would have to read again after every store.
struct Encounter {
  Transverse hit, shift, site;  // the partner's rel - h, δ and rel across the path, Å
  float coeff = 0.0f;           // A_j
  float shift2 = 0.0f;          // |δ|^2 across the path, Å^2
  bool near = false;
  bool inside = false;
  float inverse_miss = 1.0f;  // 1 / P_ref at the ring of the site (outside only)
  bool far_rings = false;     // that ring lies past the atom's last stored ring
  std::int32_t last_ring = 0;
  const float* coeff_row = nullptr;  // A_j,v and a_j,v of v = 1..N11
  const float* ratio_row = nullptr;
  float largest = 0.0f;  // the largest A_j,v (infinite when one is not positive and finite)
};

std::int32_t ring_of(const FixedTables& fixed, float rho2) {
  return RingTables::slot(fixed.ring_index(rho2));
}

// The shift δs of the atom in one structure model, across the path.
Transverse across_path(const IonDirection& d, const Shift& shift) {
  return {d.along_e1(shift.dx, shift.dy, shift.dz), d.along_e2(shift.dx, shift.dy)};
}

// Only what the encounter reads: D_h,s near the site, |δ - δs|^2 inside, the ring outside.
ModelSite model_site(const Encounter& e, const Transverse& moved, const FixedTables& fixed) {
  ModelSite site;
  if (e.near) site.hit2 = square(e.hit.e1 - moved.e1) + square(e.hit.e2 - moved.e2);
  if (e.inside) {
    site.moved2 = square(e.shift.e1 - moved.e1) + square(e.shift.e2 - moved.e2);
  } else {
    site.ring = ring_of(fixed, square(e.site.e1 - moved.e1) + square(e.site.e2 - moved.e2));
    site.unit_factor = e.far_rings && site.ring > e.last_ring;
  }
  return site;
}

// Classes 2, 4 and 6: the amplitude of each vibration model.
void account_each_amplitude(const Encounter& e, const ModelSite& site, const float* miss,
                            double* hits, float* weight, std::int32_t n11,
                            const FixedTables& fixed) {
  if (e.near) add_model_hits(hits, weight, e.coeff_row, e.largest, site.hit2, n11, fixed);
  if (site.unit_factor) return;
  if (e.inside)
    scale_by_density(weight, e.coeff_row, e.ratio_row, e.largest, e.coeff * e.shift2, site.moved2,
                     n11, fixed);
  else
    scale_by_miss(weight, miss, e.inverse_miss, n11);
}

// Classes 3 and 5: the amplitude of vibration model 1 for every v.
void account_first_amplitude(const Encounter& e, const ModelSite& site, const float* miss,
                             double* hits, float* weight, std::int32_t n11,
                             const FixedTables& fixed) {
  const float coeff = e.coeff_row[0];
  if (e.near) add_hits(hits, weight, fixed.exp_scaled(-coeff * site.hit2), n11);
  if (site.unit_factor) return;
  const float f = e.inside
                      ? e.ratio_row[0] * fixed.exp_scaled(e.coeff * e.shift2 - coeff * site.moved2)
                      : miss[0] * e.inverse_miss;
  scale(weight, f, n11);
}

}  // namespace

PartnerAccounting::PartnerAccounting(const TrackingContext& context) : context_(context) {
  const ModelSet& models = context.models;
  const std::size_t atoms = static_cast<std::size_t>(std::max(models.vibrated_atom_count, 0));
  const std::size_t n11 = static_cast<std::size_t>(std::max(models.vibration_count, 0));
  coeff_rows_.resize(atoms * n11);
  ratio_rows_.resize(atoms * n11);
  largest_coeff_.assign(atoms, 0.0f);
  for (std::int32_t a = 1; a <= models.vibrated_atom_count; ++a) {
    float& largest = largest_coeff_[static_cast<std::size_t>(a - 1)];
    for (std::int32_t v = 1; v <= models.vibration_count; ++v) {
      const std::size_t row =
          static_cast<std::size_t>(a - 1) * n11 + static_cast<std::size_t>(v - 1);
      const float coeff = models.vibration_gauss_coeff[models.vibration_index(v, a)];
      coeff_rows_[row] = coeff;
      ratio_rows_[row] = models.vibration_ratio[models.vibration_index(v, a)];
      // A coefficient that is not a positive finite number sends the row the limited way.
      largest = coeff > 0.0f && coeff <= std::numeric_limits<float>::max()
                    ? std::max(largest, coeff)
                    : std::numeric_limits<float>::infinity();
    }
  }
  // The shifts of each displaced atom in every structure model side by side.
  const std::size_t shifted = static_cast<std::size_t>(std::max(models.displaced_atom_count, 0));
  const std::size_t n10 = static_cast<std::size_t>(std::max(models.structure_count, 0));
  shift_rows_.resize(shifted * n10);
  for (std::int32_t a = 1; a <= models.displaced_atom_count; ++a)
    for (std::int32_t s = 1; s <= models.structure_count; ++s)
      shift_rows_[static_cast<std::size_t>(a - 1) * n10 + static_cast<std::size_t>(s - 1)] =
          models.shift(s, a);
}

void PartnerAccounting::account(IonState& ion, const Partner& partner, HitTally& tally) const {
  const Atom& atom = context_.crystal.atoms[static_cast<std::size_t>(partner.atom - 1)];
  const FixedTables& fixed = context_.fixed;
  const std::int32_t n10 = context_.models.structure_count;
  const std::int32_t n11 = context_.models.vibration_count;
  const auto index = static_cast<std::size_t>(partner.atom - 1);
  double* const hits =
      tally.hit_sum.data() + index * static_cast<std::size_t>(n10) * static_cast<std::size_t>(n11);
  float* const weight = ion.weight.data();
  const float hit2 = square(partner.hit.e1) + square(partner.hit.e2);
  const bool near = hit2 <= atom.reach2;
  if (atom.change_class == 1) {
    if (near) add_hits(hits, weight, fixed.exp_scaled(-atom.gauss_coeff * hit2), n10 * n11);
    return;
  }
  Encounter e;
  e.hit = partner.hit;
  const Displacement& delta = partner.displacement;
  e.shift = {ion.direction.along_e1(delta.x, delta.y, delta.z),
             ion.direction.along_e2(delta.x, delta.y)};
  e.site = partner.site;
  e.coeff = atom.gauss_coeff;
  e.shift2 = square(e.shift.e1) + square(e.shift.e2);
  e.near = near;
  e.inside = partner.w <= 1.0f;
  e.coeff_row = coeff_rows_.data() + index * static_cast<std::size_t>(n11);
  e.ratio_row = ratio_rows_.data() + index * static_cast<std::size_t>(n11);
  e.largest = largest_coeff_[index];
  const RingTables& rings = context_.tables.rings;
  if (!e.inside) {
    const std::int32_t ring = ring_of(fixed, square(e.site.e1) + square(e.site.e2));
    e.inverse_miss = rings.inverse_reference(partner.atom, ring);
    e.last_ring = rings.last_ring[index];
    e.far_rings = ring > e.last_ring;
  }
  const bool shifted = atom.change_class >= 3;
  const bool per_vibration = atom.change_class % 2 == 0;
  const Shift* shifts = shift_rows_.data() + (shifted ? index * static_cast<std::size_t>(n10) : 0);
  for (std::int32_t s = 0; s < n10; ++s) {
    const ModelSite site =
        model_site(e, shifted ? across_path(ion.direction, shifts[s]) : Transverse{}, fixed);
    const float* miss = e.inside ? nullptr : rings.miss_row(partner.atom, site.ring);
    const std::size_t row = static_cast<std::size_t>(s) * static_cast<std::size_t>(n11);
    if (per_vibration)
      account_each_amplitude(e, site, miss, hits + row, weight + row, n11, fixed);
    else
      account_first_amplitude(e, site, miss, hits + row, weight + row, n11, fixed);
  }
}

}  // namespace engine
