// Classical scattering in one binary collision: the centre-of-mass angle by 30-point
// Gauss-Mehler quadrature of the orbit integral, the laboratory angle of the ion and the
// kinematic factor. Angles in radians, lengths in Å, energies in keV, masses in amu.
#pragma once

#include <array>
#include <cmath>

#include "engine/potential.h"

namespace engine {

class ScatteringQuadrature {
 public:
  static constexpr int kNodes = 30;

  // Nodes B_j = (2j - 1) pi / 120, j = 1..30, with the program's 32-bit pi.
  explicit ScatteringQuadrature(float pi);

  // theta = pi - 2 p S pi / (60 r0), S = sum_j sin B_j / sqrt(g_j), r_j = r0 / cos B_j,
  // g_j = 1 - (p cos B_j / r0)^2 - V(r_j) / ec, for the closest approach r0 of (p, ec).
  // A node with g_j <= 0 (put inside the forbidden region by the rounding of r0) adds
  // nothing; no term with g_j > 0 is changed.
  double centre_of_mass_angle(const PairPotential& pair, double p, double ec, double r0) const;
  // The same, finding r0 first.
  double centre_of_mass_angle(const PairPotential& pair, double p, double ec) const;

 private:
  double pi_;
  std::array<double, kNodes> cos_node_{};
  std::array<double, kNodes> sin_node_{};
};

// tan psi of the ion's laboratory deflection psi for centre-of-mass angle theta and mass
// ratio m1/m2: sin theta / (cos theta + m1/m2); negative when psi exceeds 90 degrees.
inline double laboratory_tangent(double theta, double mass_ratio) {
  return std::sin(theta) / (std::cos(theta) + mass_ratio);
}

// Energy ratio E1/E0 of an ion of mass m1 scattered elastically through the laboratory
// angle phi by an atom of mass m2 at rest: (a + sqrt(a^2 + b))^2 with a = m1 cos phi /
// (m1 + m2) and b = (m2 - m1) / (m1 + m2), in 32-bit. Not a number when m1 sin phi > m2
// (no ion is scattered that far).
float kinematic_factor(float m1, float m2, float phi);

}  // namespace engine
