// Rounding of reals to table indices: NINT (nearest, halves away from zero) limited to the
// index range of a table, so that no value, not even a NaN, reads outside it.
#pragma once

#include <cstdint>

namespace engine {

// NINT(v) limited to [low, high]; a NaN gives `low`.
//
// Without a jump: whether a fraction reaches one half is a coin toss to the branch predictor,
// and the table look-ups of every step round several times. The limits are selects (a NaN
// fails the first comparison and takes `low`); truncation toward zero leaves a fraction that
// is exact in double, so comparing it with +-1/2 decides the rounding as lround does, and the
// comparisons enter as 0 or 1.
inline std::int32_t nint_within(double v, std::int32_t low, std::int32_t high) {
  const double lowest = low, highest = high;
  const double above = v > lowest ? v : lowest;
  const double limited = above < highest ? above : highest;
  const auto whole = static_cast<std::int32_t>(limited);
  const double fraction = limited - whole;
  return whole + static_cast<std::int32_t>(fraction >= 0.5) -
         static_cast<std::int32_t>(fraction <= -0.5);
}

// NINT(v) of a 32-bit real with |v| < 2^24, without limits, for loops whose arguments are
// known to lie within a table: truncation toward zero, plus the truncation of twice the dropped
// fraction f, which is +1 for f >= 1/2, -1 for f <= -1/2 and 0 otherwise. The fraction is
// exact (below 1 it is v itself; above, v and its whole part lie within a factor 2) and so is
// its double, so this is nint_within's result; conversions and subtractions only, which
// vectorise where the target can gather the table reads.
inline std::int32_t nint_small(float v) {
  const auto whole = static_cast<std::int32_t>(v);
  const float fraction = v - static_cast<float>(whole);
  return whole + static_cast<std::int32_t>(fraction + fraction);
}

}  // namespace engine
