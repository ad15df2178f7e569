// The accounting at a partner, by change class: class 1 only adds hits; class 2 changes
// amplitudes (one factor per vibration model); classes 3 to 6 shift the site (one projection
// per structure model, with the amplitude of model 1 or of each vibration model). Model
// pairs of one atom lie together in hit_sum, in the order of the weights.
#include "engine/hit_accounting.h"

#include <cstddef>

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
  std::int32_t ring = 0;      // ring of the site (outside only)
  float inverse_miss = 1.0f;  // 1 / P_ref at that ring
  bool far_rings = false;     // that ring lies past the atom's last stored ring
  std::int32_t last_ring = 0;
};

class Accounting {
 public:
  Accounting(IonState& ion, const Partner& partner, const TrackingContext& context, HitTally& tally)
      : ion_(ion),
        partner_(partner),
        context_(context),
        models_(context.models),
        n10_(context.models.structure_count),
        n11_(context.models.vibration_count),
        hits_(tally.hit_sum.data() + static_cast<std::size_t>(partner.atom - 1) *
                                         static_cast<std::size_t>(n10_) *
                                         static_cast<std::size_t>(n11_)),
        weight_(ion.weight.data()) {}

  void run() {
    const Atom& atom = context_.crystal.atoms[static_cast<std::size_t>(partner_.atom - 1)];
    e_.atom = partner_.atom;
    e_.coeff = atom.gauss_coeff;
    e_.hit2 = square(partner_.hit.e1) + square(partner_.hit.e2);
    e_.shift2 = square(partner_.shift.e1) + square(partner_.shift.e2);
    e_.near = e_.hit2 <= atom.reach2;
    e_.inside = partner_.w <= 1.0f;
    if (atom.change_class == 1) {
      if (e_.near) add_unchanged_hits();
      return;
    }
    if (!e_.inside) locate_site_ring();
    if (atom.change_class == 2)
      account_amplitudes();
    else
      account_shifts(atom.change_class % 2 == 0);
  }

 private:
  std::size_t pair(std::int32_t s, std::int32_t v) const {
    return static_cast<std::size_t>(s - 1) * static_cast<std::size_t>(n11_) +
           static_cast<std::size_t>(v - 1);
  }
  float model_coeff(std::int32_t v) const {
    return models_.vibration_gauss_coeff[models_.vibration_index(v, e_.atom)];
  }
  float model_ratio(std::int32_t v) const {
    return models_.vibration_ratio[models_.vibration_index(v, e_.atom)];
  }
  std::int32_t ring_of(float rho2) const {
    return RingTables::slot(context_.fixed.ring_index(rho2));
  }

  void locate_site_ring() {
    const RingTables& rings = context_.tables.rings;
    e_.ring = ring_of(square(partner_.site.e1) + square(partner_.site.e2));
    e_.inverse_miss = rings.inverse_reference(e_.atom, e_.ring);
    e_.last_ring = rings.last_ring[static_cast<std::size_t>(e_.atom - 1)];
    e_.far_rings = e_.ring > e_.last_ring;
  }

  // Class 1: the reference amplitude and site in every model.
  void add_unchanged_hits() {
    const float g = context_.fixed.exp_scaled(-e_.coeff * e_.hit2);
    const std::size_t pairs = ion_.weight.size();
    for (std::size_t p = 0; p < pairs; ++p) hits_[p] += weight_[p] * g;
  }

  // Weight factor of model amplitude (coeff, ratio) for a site shifted by `moved2` (|δ - δs|^2
  // inside) or seen at ring `ring` (outside).
  float weight_factor(float coeff, float ratio, float moved2, std::int32_t ring,
                      std::int32_t v) const {
    if (e_.inside) return ratio * context_.fixed.exp_scaled(e_.coeff * e_.shift2 - coeff * moved2);
    return context_.tables.rings.miss(e_.atom, ring, v) * e_.inverse_miss;
  }

  // Class 2: amplitude of each vibration model, site unchanged.
  void account_amplitudes() {
    const bool unit_factor = !e_.inside && e_.far_rings;
    for (std::int32_t v = 1; v <= n11_; ++v) {
      const float coeff = model_coeff(v);
      const float g = e_.near ? context_.fixed.exp_scaled(-coeff * e_.hit2) : 0.0f;
      const float f =
          unit_factor ? 1.0f : weight_factor(coeff, model_ratio(v), e_.shift2, e_.ring, v);
      for (std::int32_t s = 1; s <= n10_; ++s) {
        const std::size_t p = pair(s, v);
        if (e_.near) hits_[p] += weight_[p] * g;
        if (!unit_factor) weight_[p] *= f;
      }
    }
  }

  // Classes 3 to 6: the site of each structure model; the amplitude of model 1 for every v,
  // or of each v when `per_vibration`.
  void account_shifts(bool per_vibration) {
    const IonDirection& d = ion_.direction;
    for (std::int32_t s = 1; s <= n10_; ++s) {
      const Shift& shift = models_.shift(s, e_.atom);
      const Transverse moved{d.along_e1(shift.dx, shift.dy, shift.dz),
                             d.along_e2(shift.dx, shift.dy)};
      const float hit2 = square(partner_.hit.e1 - moved.e1) + square(partner_.hit.e2 - moved.e2);
      const float moved2 =
          square(partner_.shift.e1 - moved.e1) + square(partner_.shift.e2 - moved.e2);
      std::int32_t ring = 0;
      bool unit_factor = false;
      if (!e_.inside) {
        ring = ring_of(square(partner_.site.e1 - moved.e1) + square(partner_.site.e2 - moved.e2));
        unit_factor = e_.far_rings && ring > e_.last_ring;
      }
      if (per_vibration) {
        for (std::int32_t v = 1; v <= n11_; ++v) {
          const float coeff = model_coeff(v);
          const std::size_t p = pair(s, v);
          if (e_.near) hits_[p] += weight_[p] * context_.fixed.exp_scaled(-coeff * hit2);
          if (!unit_factor) weight_[p] *= weight_factor(coeff, model_ratio(v), moved2, ring, v);
        }
      } else {
        const float coeff = model_coeff(1);
        const float g = e_.near ? context_.fixed.exp_scaled(-coeff * hit2) : 0.0f;
        const float f = unit_factor ? 1.0f : weight_factor(coeff, model_ratio(1), moved2, ring, 1);
        for (std::int32_t v = 1; v <= n11_; ++v) {
          const std::size_t p = pair(s, v);
          if (e_.near) hits_[p] += weight_[p] * g;
          if (!unit_factor) weight_[p] *= f;
        }
      }
    }
  }

  IonState& ion_;
  const Partner& partner_;
  const TrackingContext& context_;
  const ModelSet& models_;
  const std::int32_t n10_;
  const std::int32_t n11_;
  double* const hits_;
  float* const weight_;
  Encounter e_;
};

}  // namespace

void account_partner(IonState& ion, const Partner& partner, const TrackingContext& context,
                     HitTally& tally) {
  Accounting(ion, partner, context, tally).run();
}

}  // namespace engine
