// Screened Coulomb potentials of an ion-atom pair and the distance of closest approach.
// Lengths in Å, energies in keV.
#pragma once

#include <cstdint>

namespace engine {

// Values of the potential selector of the input; any other value is the bare Coulomb
// potential (screening function 1).
inline constexpr std::int32_t kMoliere = 0;
inline constexpr std::int32_t kUniversal = 1;
inline constexpr std::int32_t kBareCoulomb = 2;

// The current ion-target pair: V(r) = (C / r) Phi(r / a).
struct PairPotential {
  std::int32_t potential_selector = kMoliere;
  float coupling = 0.0f;           // C = Z1 Z2 e^2, keV Å
  float inverse_screening = 0.0f;  // 1/a, 1/Å
};

// C = Z1 Z2 0.014402 keV Å in 32-bit.
float coupling_constant(std::int32_t z1, std::int32_t z2);

// 1/a (1/Å). Molière: k_a Z2^(1/3) for a proton, else k_a (sqrt(Z1/2) + sqrt(Z2))^(2/3) with
// the ion's atomic number halved; every other selector: k_a (Z1^0.23 + Z2^0.23) (universal).
// k_a = 2.1351788 1/Å.
float inverse_screening_length(std::int32_t potential_selector, std::int32_t z1, std::int32_t z2);

PairPotential make_pair_potential(std::int32_t potential_selector, std::int32_t z1,
                                  std::int32_t z2);

// Phi(x) of the selector at x = r / a.
double screening_function(std::int32_t potential_selector, double x);

// V(r) in keV.
inline double interatomic_potential(const PairPotential& pair, double r) {
  return pair.coupling / r *
         screening_function(pair.potential_selector, r * pair.inverse_screening);
}

// Distance of closest approach r0 (Å) at impact parameter p (Å) and centre-of-mass energy
// ec (keV, positive): the root of 1 - V(r)/ec - p^2/r^2 by a step-and-halve search from
// r = p with a first step of 0.1 Å, down to steps of 1.0E-8 Å.
double closest_approach(const PairPotential& pair, double p, double ec);

}  // namespace engine
