// Summing groups of adjacent channels along the energy axis.
#pragma once

#include <cstdint>
#include <span>

namespace spectools::binshrink {

// Channels left on axis 2: range2 / factor, truncated (a partial group at the end is dropped).
// factor must be at least 1.
int squashed_channels(int range2, int factor);

// Output k = sum of source channels k * factor .. k * factor + factor - 1 that exist, for every
// k of `squashed`. Throws std::range_error when a sum leaves the 32-bit range.
void squashColumn(std::span<const std::int32_t> column, std::span<std::int32_t> squashed,
                  int factor);

}  // namespace spectools::binshrink
