// The flattening weight and the corrected count.
#include "spectools/flatcorr/flat_weight.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace spectools::flatcorr {
namespace {

// Fall-off of the sensitivity per squared channel from the middle of the axis.
constexpr double kCurvature = 0.000021;

}  // namespace

float flatWeight(int row, int range2) {
  const float centre = static_cast<float>(0.5 * range2);
  const float distance = static_cast<float>(row) - centre;
  return static_cast<float>(1.0 - kCurvature * distance * distance);
}

void require_positive_weights(int base2, int range2) {
  const long long last = static_cast<long long>(base2) + range2 - 1;
  for (const long long row : {static_cast<long long>(base2), last}) {
    const float weight = flatWeight(static_cast<int>(row), range2);
    if (!(weight > 0.0f)) {
      char text[160];
      std::snprintf(text, sizeof text, "intensity weight %g of row %lld is not above zero",
                    static_cast<double>(weight), row);
      throw std::domain_error(text);
    }
  }
}

std::int32_t flattened(std::int32_t count, float weight) {
  const double value = std::trunc(count / static_cast<double>(weight) + 0.5);
  if (!(value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max())) {
    char text[160];
    std::snprintf(text, sizeof text, "corrected count %d / %g does not fit a 32-bit count", count,
                  static_cast<double>(weight));
    throw std::range_error(text);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace spectools::flatcorr
