// Derived vibration quantities, in 32-bit as the results print them.
#include "monosim/vibrations.h"

namespace monosim {

std::vector<AtomVibration> derive_vibrations(const std::vector<Amplitudes>& amplitudes, float pi) {
  std::vector<AtomVibration> out;
  out.reserve(amplitudes.size());
  for (const Amplitudes& s : amplitudes) {
    AtomVibration v;
    v.sigma = s;
    v.inv_x = 1.0f / s.x;
    v.inv_y = 1.0f / s.y;
    v.inv_z = 1.0f / s.z;
    v.gauss_norm = 0.5f / (pi * s.x * s.y * s.z);
    out.push_back(v);
  }
  return out;
}

Correlation derive_correlation(const MonoInput& input) {
  Correlation c;
  if (!input.correlated()) return c;
  c.on = true;
  c.coefficient = input.correlation_coefficient;
  c.distance2 = input.correlation_distance * input.correlation_distance;
  const float one_minus_c2 = 1.0f - c.coefficient * c.coefficient;
  c.spread = std::sqrt(one_minus_c2);
  c.gain = 1.0f / c.spread;
  c.weight = c.gain * c.gain * c.gain;
  return c;
}

}  // namespace monosim
