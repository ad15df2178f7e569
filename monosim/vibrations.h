// The per-atom and per-run quantities of the anisotropic, optionally correlated vibrations:
// reciprocal amplitudes and the normalisation of each atom's Gaussian position density, and
// the coefficients of the density of an atom conditioned on the displacement of its neighbour.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "monosim/mono_input.h"

namespace monosim {

struct AtomVibration {
  Amplitudes sigma;                                // Å
  float inv_x = 0.0f, inv_y = 0.0f, inv_z = 0.0f;  // 1/σ, 1/Å
  // 0.5 / (π σx σy σz), 1/Å^3: turns a line integral of the density in amplitude units into
  // a density per area across the path.
  float gauss_norm = 0.0f;
};

std::vector<AtomVibration> derive_vibrations(const std::vector<Amplitudes>& amplitudes, float pi);

// Correlated vibrations of atoms closer than a distance: the displacement u of such an atom,
// in amplitude units per axis, is drawn from N(c n_last, 1 - c^2) given the normalised
// displacement n_last of the atom the ion met last.
struct Correlation {
  bool on = false;
  float coefficient = 0.0f;  // c, |c| < 1
  float distance2 = 0.0f;    // Å^2
  float gain = 1.0f;         // g = 1 / sqrt(1 - c^2): 1 / the conditional spread
  float weight = 1.0f;       // g^3: the conditional density's normalisation over the plain one
  float spread = 1.0f;       // sqrt(1 - c^2): the conditional spread
  bool operator==(const Correlation&) const = default;
};

// Off unless the input switches it on.
Correlation derive_correlation(const MonoInput& input);

// A normalised displacement drawn from the conditional distribution: fresh deviate n times the
// conditional spread plus c times the neighbour's n_last; its variance is 1 - c^2 and its
// correlation with n_last is c.
inline float conditional_deviate(float n, float n_last, const Correlation& correlation) {
  return n * correlation.spread + correlation.coefficient * n_last;
}

}  // namespace monosim
