// Molière and universal screening, screening lengths and the closest-approach search.
#include "engine/potential.h"

#include <cmath>

namespace engine {

namespace {

constexpr float kCouplingPerCharge = 0.014402f;  // e^2, keV Å
constexpr double kScreeningScale = 2.1351788;    // k_a, 1/Å
constexpr double kFirstStep = 0.1;               // Å
// The search stops at the 32-bit value of 1.0E-8 Å (9.99999994E-9).
constexpr double kLastStep = static_cast<double>(1.0e-8f);
// Bound on how far the search walks out: far beyond any physical closest approach (the
// screened potentials are negligible there), it keeps a degenerate pair from stalling.
constexpr double kApproachCeiling = 1000.0;  // Å

}  // namespace

float coupling_constant(std::int32_t z1, std::int32_t z2) {
  return static_cast<float>(z1) * static_cast<float>(z2) * kCouplingPerCharge;
}

float inverse_screening_length(std::int32_t potential_selector, std::int32_t z1, std::int32_t z2) {
  const double zi = z1;
  const double zt = z2;
  if (potential_selector == kMoliere) {
    if (z1 == 1) return static_cast<float>(kScreeningScale * std::cbrt(zt));
    return static_cast<float>(kScreeningScale *
                              std::pow(std::sqrt(zi / 2.0) + std::sqrt(zt), 2.0 / 3.0));
  }
  return static_cast<float>(kScreeningScale * (std::pow(zi, 0.23) + std::pow(zt, 0.23)));
}

PairPotential make_pair_potential(std::int32_t potential_selector, std::int32_t z1,
                                  std::int32_t z2) {
  return {potential_selector, coupling_constant(z1, z2),
          inverse_screening_length(potential_selector, z1, z2)};
}

double screening_function(std::int32_t potential_selector, double x) {
  if (potential_selector == kMoliere) {
    double phi = 0.10 * std::exp(-6.0 * x);
    phi += 0.55 * std::exp(-1.2 * x);
    phi += 0.35 * std::exp(-0.3 * x);
    return phi;
  }
  if (potential_selector == kUniversal) {
    double phi = 0.1818 * std::exp(-3.2 * x);
    phi += 0.5099 * std::exp(-0.9423 * x);
    phi += 0.2802 * std::exp(-0.4029 * x);
    phi += 0.02817 * std::exp(-0.2016 * x);
    return phi;
  }
  return 1.0;
}

double closest_approach(const PairPotential& pair, double p, double ec) {
  const double p2 = p * p;
  double r = p;
  double step = kFirstStep;
  do {
    const double f = 1.0 - interatomic_potential(pair, r) / ec - p2 / (r * r);
    if (f < 0.0 && r < kApproachCeiling) {
      r += step;
    } else {
      step /= 2.0;
      r -= step;
    }
  } while (step > kLastStep);
  return r - step / 2.0;
}

}  // namespace engine
