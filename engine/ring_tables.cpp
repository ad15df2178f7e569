// The ring-table integrals: per atom and ring, the Gaussian probability mass of the
// vibrating atom inside the interaction circle around the ion path, for the reference
// amplitude and every vibration model. The strip geometry is shared by all amplitudes.
#include "engine/ring_tables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "engine/errors.h"
#include "engine/fixed_tables.h"
#include "engine/model.h"
#include "engine/run_tables.h"

namespace engine {

namespace {

constexpr int kStrips = 150;
constexpr double kRingWidth = 0.01;  // Å
// 2 x 0.008: the density normalisation 1/(2 pi sigma^2) = 0.008 A / pi times the two
// half-angles of each strip.
constexpr double kAnnulusScale = 0.016;
constexpr float kEarlyEndInverse = 1.01f;  // 1 / P_ref below this ...
constexpr float kEarlyEndMiss = 0.99f;     // ... and every P_v above this: rings done

// Strips of the annulus |R - r| .. R + r around the site for a path at distance r.
struct Annulus {
  double inner = 0.0;                     // R - r: the site lies inside the circle when positive
  double width = 0.0;                     // strip width, 2 min(r, R) / 150
  std::array<double, kStrips> radius2{};  // rho_j^2
  std::array<double, kStrips> arc{};      // beta_j rho_j: half the arc inside the circle
};

Annulus annulus(double reach, double r) {
  Annulus a;
  a.inner = reach - r;
  a.width = 2.0 * std::min(r, reach) / kStrips;
  for (int j = 0; j < kStrips; ++j) {
    const double rho = std::fabs(a.inner) + (j + 0.5) * a.width;
    const double cos_beta = (rho * rho + r * r - reach * reach) / (2.0 * r * rho);
    a.radius2[static_cast<std::size_t>(j)] = rho * rho;
    a.arc[static_cast<std::size_t>(j)] = std::acos(std::clamp(cos_beta, -1.0, 1.0)) * rho;
  }
  return a;
}

// Miss probability for Gaussian coefficient `coeff` (125 / (2 sigma^2)).
float miss_probability(const Annulus& a, float coeff, const FixedTables& fixed) {
  const double central = a.inner > 0.0 ? fixed.exp_scaled(-coeff * a.inner * a.inner) : 1.0;
  double sum = 0.0;
  for (std::size_t j = 0; j < kStrips; ++j)
    sum += fixed.exp_scaled(-coeff * a.radius2[j]) * a.arc[j];
  const double p = central - kAnnulusScale * (coeff / fixed.pi) * a.width * sum;
  return std::max(static_cast<float>(p), RingTables::kFloor);
}

void require_ring_data(bool condition, const std::string& what) {
  if (!condition) throw ModelDataError("Ring tables: " + what);
}

void check_data(const Crystal& crystal, const ModelSet& models, const RunTables& tables) {
  const auto atoms = static_cast<std::int32_t>(crystal.atoms.size());
  const auto types = static_cast<std::int32_t>(crystal.types.size());
  require_ring_data(models.vibrated_atom_count >= 0 && models.vibrated_atom_count <= atoms &&
                        models.vibration_count >= 0,
                    "model atom counts outside the crystal");
  require_ring_data(models.vibration_gauss_coeff.size() ==
                        static_cast<std::size_t>(models.vibration_count) *
                            static_cast<std::size_t>(models.vibrated_atom_count),
                    "vibration coefficients not derived for the model counts");
  require_ring_data(tables.type_reach_weight.size() >= crystal.types.size(),
                    "no interaction radius for every atom type");
  for (std::int32_t a = 1; a <= models.vibrated_atom_count; ++a) {
    const std::int32_t t = crystal.atoms[static_cast<std::size_t>(a - 1)].type;
    require_ring_data(t >= 1 && t <= types, "atom " + std::to_string(a) + " has no valid type");
  }
}

// Rings of atom a with interaction radius `reach`: fills its rows, returns its last ring.
std::int32_t fill_atom(std::int32_t a, double reach, float reference_coeff, const ModelSet& models,
                       const FixedTables& fixed, RingTables& rings) {
  const std::int32_t n11 = rings.vibration_count;
  float* inverse = rings.reference_inverse.data() + rings.row(a);
  float* miss = rings.model_miss.data() + rings.row(a) * static_cast<std::size_t>(n11);
  if (!(reach > 0.0) || !std::isfinite(reach)) return 0;  // no circle: factor 1 everywhere
  for (std::int32_t k = 1; k <= RingTables::kRingCount; ++k) {
    const Annulus strips = annulus(reach, kRingWidth * k);
    inverse[k] = 1.0f / miss_probability(strips, reference_coeff, fixed);
    bool settled = inverse[k] < kEarlyEndInverse;
    for (std::int32_t v = 1; v <= n11; ++v) {
      const float coeff = models.vibration_gauss_coeff[models.vibration_index(v, a)];
      const float p = miss_probability(strips, coeff, fixed);
      miss[static_cast<std::size_t>(k) * static_cast<std::size_t>(n11) + (v - 1)] = p;
      settled = settled && p > kEarlyEndMiss;
    }
    if (settled) return k;
  }
  return RingTables::kRingCount;
}

}  // namespace

void build_ring_tables(const Crystal& crystal, const ModelSet& models, const FixedTables& fixed,
                       RunTables& tables) {
  check_data(crystal, models, tables);
  RingTables& rings = tables.rings;
  rings.atom_count = models.vibrated_atom_count;
  rings.vibration_count = models.vibration_count;
  const auto atoms = static_cast<std::size_t>(rings.atom_count);
  const auto row = static_cast<std::size_t>(RingTables::kRowLength);
  // Every slot starts at 1, which is also what the rings past an early end keep.
  rings.reference_inverse.assign(atoms * row, 1.0f);
  rings.model_miss.assign(atoms * row * static_cast<std::size_t>(rings.vibration_count), 1.0f);
  rings.last_ring.assign(atoms, 0);
  for (std::int32_t a = 1; a <= rings.atom_count; ++a) {
    const Atom& atom = crystal.atoms[static_cast<std::size_t>(a - 1)];
    tables.interaction_reach =
        1.0f / std::sqrt(tables.type_reach_weight[static_cast<std::size_t>(atom.type - 1)]);
    rings.last_ring[static_cast<std::size_t>(a - 1)] =
        fill_atom(a, tables.interaction_reach, atom.gauss_coeff, models, fixed, rings);
  }
}

}  // namespace engine
