// The complement of a spectrum's counts against its largest count, so that minima become
// peaks.
#pragma once

#include <cstdint>
#include <span>

namespace spectools::histcopy {

// The largest count, at least 0: a spectrum of negative counts has maximum 0.
std::int32_t largest_count(std::span<const std::int32_t> counts);

// Replaces every count v by largest_count - v. Throws std::overflow_error, leaving the
// counts unchanged, when a complement does not fit a 32-bit count (a negative count far
// below a large maximum).
void complement_counts(std::span<std::int32_t> counts);

}  // namespace spectools::histcopy
