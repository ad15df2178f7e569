// The Debye model's rms displacement; constants CODATA 2018.
#include "slabgen/debye.h"

#include <cmath>

namespace slabgen {

namespace {

constexpr double kHbar = 1.054571817e-34;          // J s
constexpr double kBoltzmann = 1.380649e-23;        // J/K
constexpr double kAtomicMass = 1.66053906660e-27;  // kg per amu
constexpr double kSquareMetreInAngstrom2 = 1.0e20;

// t / (e^t - 1), which tends to 1 at t = 0.
double integrand(double t) {
  return t < 1.0e-8 ? 1.0 - 0.5 * t : t / std::expm1(t);
}

}  // namespace

double debye_function(double x) {
  if (x < 1.0e-8) return 1.0;
  // Simpson's rule; the integrand is smooth, 400 intervals give 1e-12 relative.
  constexpr int kIntervals = 400;
  const double h = x / kIntervals;
  double sum = integrand(0.0) + integrand(x);
  for (int i = 1; i < kIntervals; ++i) sum += (i % 2 == 1 ? 4.0 : 2.0) * integrand(i * h);
  return sum * h / 3.0 / x;
}

double debye_rms_amplitude(double mass, double temperature, double debye_temperature) {
  const double m = mass * kAtomicMass;
  const double theta = debye_temperature;
  if (temperature <= 0.0)
    return std::sqrt(3.0 * kHbar * kHbar / (4.0 * m * kBoltzmann * theta) *
                     kSquareMetreInAngstrom2);
  const double x = theta / temperature;
  const double u2 = 3.0 * kHbar * kHbar * temperature / (m * kBoltzmann * theta * theta) *
                    (debye_function(x) + x / 4.0);
  return std::sqrt(u2 * kSquareMetreInAngstrom2);
}

}  // namespace slabgen
