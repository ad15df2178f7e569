// Rounding of reals to table indices: NINT (nearest, halves away from zero) limited to the
// index range of a table, so that no value, not even a NaN, reads outside it.
#pragma once

#include <cmath>
#include <cstdint>

namespace engine {

// NINT(v) limited to [low, high]; a NaN gives `low`.
inline std::int32_t nint_within(double v, std::int32_t low, std::int32_t high) {
  if (!(v > low)) return low;
  if (!(v < high)) return high;
  return static_cast<std::int32_t>(std::lround(v));
}

}  // namespace engine
