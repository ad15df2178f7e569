// Closed forms of the bare Coulomb orbit, against which the potential and scattering code is
// checked.
#pragma once

#include <cmath>

namespace engine_test {

// The Coulomb root of 1 - C/(r ec) - p^2/r^2: the distance of closest approach (Å) for coupling
// C (eV Å), impact parameter p (Å) and centre-of-mass energy ec (eV).
inline double coulomb_closest_approach(double coupling, double p, double ec) {
  const double b = coupling / ec;
  return 0.5 * (b + std::sqrt(b * b + 4.0 * p * p));
}

}  // namespace engine_test
