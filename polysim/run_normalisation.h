// Turning the raw hit sums of an ion run into hitting probabilities (shadowing) and blocked
// yields (blocking), and the plausibility check of the hitting probabilities.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/ion_run.h"
#include "engine/model.h"
#include "polysim/run_results.h"

namespace polysim {

// What one ion run delivered: F = ions_run / (cos(run_polar) Yrep Xrep) ions per Å² across
// the beam, and D = F hit_norm pi 125, the divisor that turns a sum of weighted Gaussian
// coefficients into a probability per unit flux.
float hit_divisor(const engine::HitTally& tally, const engine::Crystal& crystal, float run_polar,
                  float pi);

// Gaussian coefficient of atom a (1-based) in vibration model v: the model's for the atoms
// with model amplitudes, the atom's own otherwise. `models` are those the tracking read.
float gauss_coefficient_of(const engine::Crystal& crystal, const engine::ModelSet& models,
                           std::int32_t v, std::int32_t a);

// hit_probability(v, s, a) = hit_sum g / D for every pair and atom.
void normalise_shadowing(const engine::HitTally& tally, const engine::Crystal& crystal,
                         const engine::ModelSet& models, float divisor, RunResults& results);

// block_yield(v, s, a, j) = hit_sum hit_probability g / D: the atom is hit on the way in and
// seen from the detector on the way out, the two legs taken as independent. Only the atoms
// marked in `member` (atom a at a - 1) take their yields from this run.
void normalise_blocking(const engine::HitTally& tally, const engine::Crystal& crystal,
                        const engine::ModelSet& models, float divisor, std::int32_t angle,
                        RunResults& results, const std::vector<char>& member);

// A hitting probability above 5, which no atom can reach in a sound run.
struct ImplausibleHit {
  std::int32_t atom = 0, vibration = 0, structure = 0;
  float probability = 0.0f;
};

// Every hitting probability above 5.0, atoms outermost, then structure, then vibration model.
std::vector<ImplausibleHit> implausible_hits(const RunResults& results);

}  // namespace polysim
