// Limits on spectrum shapes.
#include "zq/description.h"

#include <climits>

namespace zq {

std::optional<std::string> shape_fault(const Description& description, int max_dim) {
  if (description.dim < 1 || description.dim > max_dim) {
    return "dimension count " + std::to_string(description.dim) + " outside 1.." +
           std::to_string(max_dim);
  }
  long long elements = 1;
  for (int axis = 0; axis < description.dim; ++axis) {
    const long long base = description.bases[axis];
    const long long range = description.ranges[axis];
    const std::string label = "axis " + std::to_string(axis + 1);
    if (range < 1) return label + " has channel count " + std::to_string(range);
    if (base + range - 1 > INT_MAX) return label + " runs past channel " + std::to_string(INT_MAX);
    elements *= range;
    if (elements > kMaxElements) {
      return "more than " + std::to_string(kMaxElements) + " channels in all";
    }
  }
  return std::nullopt;
}

std::size_t element_count(const Description& description) {
  std::size_t count = 1;
  for (int axis = 0; axis < description.dim; ++axis) {
    count *= static_cast<std::size_t>(description.ranges[axis]);
  }
  return count;
}

}  // namespace zq
