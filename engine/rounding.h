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
  // Truncation toward zero, then one step away from zero when the dropped fraction (exact
  // in double) is at least one half: the same as lround, without a library call in the
  // inner loops.
  const auto whole = static_cast<std::int32_t>(v);
  const double fraction = v - whole;
  if (fraction >= 0.5) return whole + 1;
  if (fraction <= -0.5) return whole - 1;
  return whole;
}

}  // namespace engine
