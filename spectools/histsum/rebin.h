// Spreading a column of counts over a different number of channels by the overlap of the
// channels' positions on a common unit interval.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace spectools::histsum {

// count * fraction + 0.5, truncated toward zero: the share of a count that falls into one
// output channel, rounded by itself. `fraction` lies in [0, 1] (up to rounding).
std::int64_t proportion(std::int32_t count, double fraction);

// Source channel a covers [a/n_src, (a+1)/n_src) and output channel i covers
// [i/n_dst, (i+1)/n_dst) with n_src = source.size(); every source channel adds to each
// output channel it overlaps the proportion of its count that the overlap is of its width.
// Shares are rounded one by one, so the column total is kept only up to rounding. Throws
// std::overflow_error when an output channel's sum does not fit a 32-bit count.
std::vector<std::int32_t> rebinColumn(std::span<const std::int32_t> source, std::size_t n_dst);

}  // namespace spectools::histsum
