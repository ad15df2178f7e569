// Normalisation of the hit sums and the plausibility check.
#include "polysim/run_normalisation.h"

#include <cmath>

namespace polysim {

namespace {

constexpr float kExpTableScale = 125.0f;  // Gaussian coefficients carry this factor
constexpr float kLargestPlausible = 5.0f;

}  // namespace

float hit_divisor(const engine::HitTally& tally, const engine::Crystal& crystal, float run_polar,
                  float pi) {
  const float flux = static_cast<float>(tally.ions_run) /
                     (std::cos(run_polar) * crystal.repeat_y * crystal.repeat_x);
  return flux * tally.hit_norm * pi * kExpTableScale;
}

float gauss_coefficient_of(const engine::Crystal& crystal, const engine::ModelSet& models,
                           std::int32_t v, std::int32_t a) {
  if (a <= models.vibrated_atom_count)
    return models.vibration_gauss_coeff[models.vibration_index(v, a)];
  return crystal.atoms[static_cast<std::size_t>(a - 1)].gauss_coeff;
}

void normalise_shadowing(const engine::HitTally& tally, const engine::Crystal& crystal,
                         const engine::ModelSet& models, float divisor, RunResults& results) {
  const auto atoms = static_cast<std::int32_t>(crystal.atoms.size());
  for (std::int32_t a = 1; a <= atoms; ++a)
    for (std::int32_t s = 1; s <= models.structure_count; ++s)
      for (std::int32_t v = 1; v <= models.vibration_count; ++v) {
        results.hit_probability(v, s, a) = static_cast<float>(
            tally.hit(v, s, a) * gauss_coefficient_of(crystal, models, v, a) / divisor);
      }
}

void normalise_blocking(const engine::HitTally& tally, const engine::Crystal& crystal,
                        const engine::ModelSet& models, float divisor, std::int32_t angle,
                        RunResults& results, const std::vector<char>& member) {
  const auto atoms = static_cast<std::int32_t>(crystal.atoms.size());
  for (std::int32_t a = 1; a <= atoms; ++a)
    for (std::int32_t s = 1; s <= models.structure_count; ++s)
      for (std::int32_t v = 1; v <= models.vibration_count; ++v) {
        if (member[static_cast<std::size_t>(a - 1)])
          results.block_yield(v, s, a, angle) =
              static_cast<float>(tally.hit(v, s, a) * results.hit_probability(v, s, a) *
                                 gauss_coefficient_of(crystal, models, v, a) / divisor);
      }
}

std::vector<ImplausibleHit> implausible_hits(const RunResults& results) {
  std::vector<ImplausibleHit> found;
  for (std::int32_t a = 1; a <= results.atom_count(); ++a)
    for (std::int32_t s = 1; s <= results.structure_count(); ++s)
      for (std::int32_t v = 1; v <= results.vibration_count(); ++v) {
        const float p = results.hit_probability(v, s, a);
        if (p > kLargestPlausible) found.push_back({a, v, s, p});
      }
  return found;
}

}  // namespace polysim
