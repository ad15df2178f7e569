// The orbit integral by Gauss-Mehler (Chebyshev) quadrature: with u = r0 / r = cos B the
// square-root singularity at the turning point becomes the Chebyshev weight, and 30 nodes
// on the half range give the angle to about 1e-4 rad.
#include "engine/scattering.h"

#include <cmath>

namespace engine {

ScatteringQuadrature::ScatteringQuadrature(float pi) : pi_(pi) {
  for (int j = 1; j <= kNodes; ++j) {
    cos_node_[j - 1] = std::cos((2 * j - 1) * pi_ / 120.0);
    // sin B_j as the cosine of the mirrored node, cos((2 (31 - j) - 1) pi / 120).
    sin_node_[j - 1] = std::cos((2 * (kNodes + 1 - j) - 1) * pi_ / 120.0);
  }
}

double ScatteringQuadrature::centre_of_mass_angle(const PairPotential& pair, double p, double ec,
                                                  double r0) const {
  double sum = 0.0;
  for (int j = 0; j < kNodes; ++j) {
    const double ratio = p * cos_node_[j] / r0;
    const double g = 1.0 - ratio * ratio - interatomic_potential(pair, r0 / cos_node_[j]) / ec;
    if (g > 0.0) sum += sin_node_[j] / std::sqrt(g);
  }
  return pi_ - 2.0 * p * sum * pi_ / (60.0 * r0);
}

double ScatteringQuadrature::centre_of_mass_angle(const PairPotential& pair, double p,
                                                  double ec) const {
  return centre_of_mass_angle(pair, p, ec, closest_approach(pair, p, ec));
}

float kinematic_factor(float m1, float m2, float phi) {
  const float a = m1 * std::cos(phi) / (m1 + m2);
  const float b = (m2 - m1) / (m1 + m2);
  const float root = a + std::sqrt(a * a + b);
  return root * root;
}

}  // namespace engine
