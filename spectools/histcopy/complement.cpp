// Complement of counts against the largest count, checked against 32-bit overflow.
#include "spectools/histcopy/complement.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

namespace spectools::histcopy {

std::int32_t largest_count(std::span<const std::int32_t> counts) {
  std::int32_t maximum = 0;
  for (const std::int32_t count : counts) maximum = std::max(maximum, count);
  return maximum;
}

void complement_counts(std::span<std::int32_t> counts) {
  if (counts.empty()) return;
  const std::int32_t maximum = largest_count(counts);
  // The largest complement is the one of the smallest count; checking it checks them all.
  const std::int32_t smallest = *std::min_element(counts.begin(), counts.end());
  if (std::int64_t{maximum} - smallest > std::numeric_limits<std::int32_t>::max()) {
    throw std::overflow_error("complement of count " + std::to_string(smallest) +
                              " against the largest count " + std::to_string(maximum) +
                              " does not fit a 32-bit count");
  }
  for (std::int32_t& count : counts) count = maximum - count;
}

}  // namespace spectools::histcopy
