// Channel summing of one column.
#include "spectools/binshrink/squash.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

namespace spectools::binshrink {

int squashed_channels(int range2, int factor) {
  return range2 / factor;
}

void squashColumn(std::span<const std::int32_t> column, std::span<std::int32_t> squashed,
                  int factor) {
  const auto group = static_cast<std::size_t>(factor);
  for (std::size_t k = 0; k < squashed.size(); ++k) {
    const std::size_t first = std::min(k * group, column.size());
    const std::size_t last = std::min(first + group, column.size());
    long long sum = 0;
    for (std::size_t f = first; f < last; ++f) sum += column[f];
    if (sum < std::numeric_limits<std::int32_t>::min() ||
        sum > std::numeric_limits<std::int32_t>::max()) {
      throw std::range_error("sum " + std::to_string(sum) + " of " + std::to_string(last - first) +
                             " channels does not fit a 32-bit count");
    }
    squashed[k] = static_cast<std::int32_t>(sum);
  }
}

}  // namespace spectools::binshrink
