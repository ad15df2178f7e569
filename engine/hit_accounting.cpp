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

// What every class needs of one encounter.
struct Encounter {
  std::int32_t atom = 0;
  float coeff = 0.0f;   // A_j
  float hit2 = 0.0f;    // D_h, Å^2
  float shift2 = 0.0f;  // |δ|^2 across the path, Å^2
  bool near = false;
  bool inside = false;
  float inverse_miss = 1.0f;  // 1 / P_ref at the ring of the site (outside only)
  bool far_rings = false;     // that ring lies past the atom's last stored ring
  std::int32_t last_ring = 0;
};

// The quantities of structure model s: D_h,s, |δ - δs|^2 and, outside, the ring of the site
// and whether its factor is 1.
struct ModelSite {
  float hit2 = 0.0f;
  float moved2 = 0.0f;
  std::int32_t ring = 0;
  bool unit_factor = false;
};

// The loops over the vibration models of one structure model: contiguous and without
// branches, so that they vectorise (the exponential table reads are gathers, which need a
// target that has them). Where every exponent of the row is known to lie in the table, the
// rounding needs no limits: with 0 <= c_v <= c_max and 0 <= D, rounding is monotone, so
// fl(c_v D) lies in [0, fl(c_max D)].
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

class Accounting {
 public:
  Accounting(IonState& ion, const Partner& partner, const TrackingContext& context,
             const float* coeff_rows, const float* ratio_rows, const float* largest_coeff,
             HitTally& tally)
      : ion_(ion),
        partner_(partner),
        context_(context),
        fixed_(context.fixed),
        n10_(context.models.structure_count),
        n11_(context.models.vibration_count),
        hits_(tally.hit_sum.data() + static_cast<std::size_t>(partner.atom - 1) *
                                         static_cast<std::size_t>(n10_) *
                                         static_cast<std::size_t>(n11_)),
        weight_(ion.weight.data()),
        coeff_rows_(coeff_rows),
        ratio_rows_(ratio_rows),
        largest_coeff_(largest_coeff) {}

  void run() {
    const Atom& atom = context_.crystal.atoms[static_cast<std::size_t>(partner_.atom - 1)];
    e_.atom = partner_.atom;
    e_.coeff = atom.gauss_coeff;
    e_.hit2 = square(partner_.hit.e1) + square(partner_.hit.e2);
    e_.shift2 = square(partner_.shift.e1) + square(partner_.shift.e2);
    e_.near = e_.hit2 <= atom.reach2;
    e_.inside = partner_.w <= 1.0f;
    if (atom.change_class == 1) {
      if (e_.near) add_hits(hits_, weight_, fixed_.exp_scaled(-e_.coeff * e_.hit2), pairs());
      return;
    }
    if (!e_.inside) locate_site_ring();
    const bool shifted = atom.change_class >= 3;
    const bool per_vibration = atom.change_class % 2 == 0;
    for (std::int32_t s = 1; s <= n10_; ++s) {
      const ModelSite site = model_site(shifted ? across_path(s) : Transverse{});
      const std::size_t row = static_cast<std::size_t>(s - 1) * static_cast<std::size_t>(n11_);
      if (per_vibration)
        account_each_amplitude(hits_ + row, weight_ + row, site);
      else
        account_first_amplitude(hits_ + row, weight_ + row, site);
    }
  }

 private:
  std::int32_t pairs() const { return n10_ * n11_; }
  const float* coeff_row() const {
    return coeff_rows_ + static_cast<std::size_t>(e_.atom - 1) * static_cast<std::size_t>(n11_);
  }
  const float* ratio_row() const {
    return ratio_rows_ + static_cast<std::size_t>(e_.atom - 1) * static_cast<std::size_t>(n11_);
  }
  float largest_coeff() const { return largest_coeff_[static_cast<std::size_t>(e_.atom - 1)]; }
  std::int32_t ring_of(float rho2) const {
    return RingTables::slot(context_.fixed.ring_index(rho2));
  }

  void locate_site_ring() {
    const RingTables& rings = context_.tables.rings;
    const std::int32_t ring = ring_of(square(partner_.site.e1) + square(partner_.site.e2));
    e_.inverse_miss = rings.inverse_reference(e_.atom, ring);
    e_.last_ring = rings.last_ring[static_cast<std::size_t>(e_.atom - 1)];
    e_.far_rings = ring > e_.last_ring;
  }

  // The shift of the atom in structure model s, across the path.
  Transverse across_path(std::int32_t s) const {
    const IonDirection& d = ion_.direction;
    const Shift& shift = context_.models.shift(s, e_.atom);
    return {d.along_e1(shift.dx, shift.dy, shift.dz), d.along_e2(shift.dx, shift.dy)};
  }

  ModelSite model_site(const Transverse& moved) const {
    ModelSite site;
    site.hit2 = square(partner_.hit.e1 - moved.e1) + square(partner_.hit.e2 - moved.e2);
    site.moved2 = square(partner_.shift.e1 - moved.e1) + square(partner_.shift.e2 - moved.e2);
    if (!e_.inside) {
      site.ring =
          ring_of(square(partner_.site.e1 - moved.e1) + square(partner_.site.e2 - moved.e2));
      site.unit_factor = e_.far_rings && site.ring > e_.last_ring;
    }
    return site;
  }

  // Classes 2, 4 and 6: the amplitude of each vibration model.
  void account_each_amplitude(double* hits, float* weight, const ModelSite& site) const {
    if (e_.near)
      add_model_hits(hits, weight, coeff_row(), largest_coeff(), site.hit2, n11_, fixed_);
    if (site.unit_factor) return;
    if (e_.inside)
      scale_by_density(weight, coeff_row(), ratio_row(), largest_coeff(), e_.coeff * e_.shift2,
                       site.moved2, n11_, fixed_);
    else
      scale_by_miss(weight, context_.tables.rings.miss_row(e_.atom, site.ring), e_.inverse_miss,
                    n11_);
  }

  // Classes 3 and 5: the amplitude of vibration model 1 for every v.
  void account_first_amplitude(double* hits, float* weight, const ModelSite& site) const {
    const float coeff = coeff_row()[0];
    if (e_.near) add_hits(hits, weight, fixed_.exp_scaled(-coeff * site.hit2), n11_);
    if (site.unit_factor) return;
    const float f =
        e_.inside ? ratio_row()[0] * fixed_.exp_scaled(e_.coeff * e_.shift2 - coeff * site.moved2)
                  : context_.tables.rings.miss(e_.atom, site.ring, 1) * e_.inverse_miss;
    scale(weight, f, n11_);
  }

  IonState& ion_;
  const Partner& partner_;
  const TrackingContext& context_;
  const FixedTables& fixed_;
  const std::int32_t n10_;
  const std::int32_t n11_;
  double* const hits_;
  float* const weight_;
  const float* const coeff_rows_;
  const float* const ratio_rows_;
  const float* const largest_coeff_;
  Encounter e_;
};

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
}

void PartnerAccounting::account(IonState& ion, const Partner& partner, HitTally& tally) const {
  Accounting(ion, partner, context_, coeff_rows_.data(), ratio_rows_.data(), largest_coeff_.data(),
             tally)
      .run();
}

}  // namespace engine
