// Rebinning of one energy column from measured energy E to E / K: each source channel's
// counts are shared among the output channels in proportion to the overlap of its energy
// interval with theirs.
#pragma once

#include <cstdint>
#include <span>

namespace spectools::kinecorr {

// A linear axis calibration, value = offset + slope * channel. For the energy of a column the
// channel is counted from the column's first channel (0-based), in units of the beam energy.
struct AxisScale {
  double offset = 0.0;
  double slope = 0.0;
};

// count * fraction + 0.5, truncated toward zero. Fractions are overlaps of intervals, so a
// fraction outside [0, 1] (or NaN) is taken as its nearest end (0 for NaN).
std::int32_t proportion(std::int32_t count, double fraction);

// Fills `correct` (the output column, at least as long as needed) from `counts` (the source
// column) for kinematic factor `k`: output channel i receives the shares of the source
// channels whose intervals [E(f), E(f + 1)) overlap [k E(i), k E(i + 1)). Throws
// std::range_error when an output count leaves the 32-bit range.
void colCorrect(double k, std::span<const std::int32_t> counts, std::span<std::int32_t> correct,
                const AxisScale& scale);

}  // namespace spectools::kinecorr
