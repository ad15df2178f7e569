// Overlap rebinning of one column.
#include "spectools/histsum/rebin.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace spectools::histsum {
namespace {

std::int32_t checked_count(std::int64_t sum) {
  if (sum < std::numeric_limits<std::int32_t>::min() ||
      sum > std::numeric_limits<std::int32_t>::max()) {
    throw std::overflow_error("rebinned count " + std::to_string(sum) +
                              " does not fit a 32-bit count");
  }
  return static_cast<std::int32_t>(sum);
}

}  // namespace

std::int64_t proportion(std::int32_t count, double fraction) {
  return static_cast<std::int64_t>(std::trunc(count * fraction + 0.5));
}

std::vector<std::int32_t> rebinColumn(std::span<const std::int32_t> source, std::size_t n_dst) {
  const auto n_src = static_cast<double>(source.size());
  const auto n_out = static_cast<double>(n_dst);
  std::vector<std::int32_t> output(n_dst, 0);
  std::size_t a = 0;
  for (std::size_t i = 0; i < n_dst; ++i) {
    const double low = static_cast<double>(i) / n_out;
    const double high = static_cast<double>(i + 1) / n_out;
    // The last source channel of the previous output channel may straddle into this one.
    if (a > 0) --a;
    std::int64_t sum = 0;
    for (; a < source.size(); ++a) {
      const double start = static_cast<double>(a) / n_src;
      const double end = static_cast<double>(a + 1) / n_src;
      if (start >= high) break;
      if (end > low) {
        const double overlap = std::min(high, end) - std::max(low, start);
        sum += proportion(source[a], overlap / (1.0 / n_src));
      }
    }
    output[i] = checked_count(sum);
  }
  return output;
}

}  // namespace spectools::histsum
