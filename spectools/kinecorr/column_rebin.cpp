// The column rebinning of the kinematic correction.
#include "spectools/kinecorr/column_rebin.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace spectools::kinecorr {
namespace {

std::int32_t as_count(long long sum, std::size_t channel) {
  if (sum < std::numeric_limits<std::int32_t>::min() ||
      sum > std::numeric_limits<std::int32_t>::max()) {
    throw std::range_error("corrected count " + std::to_string(sum) + " in energy channel " +
                           std::to_string(channel) + " does not fit a 32-bit count");
  }
  return static_cast<std::int32_t>(sum);
}

}  // namespace

std::int32_t proportion(std::int32_t count, double fraction) {
  const double bounded = fraction >= 0.0 ? std::min(fraction, 1.0) : 0.0;
  return static_cast<std::int32_t>(std::trunc(count * bounded + 0.5));
}

void colCorrect(double k, std::span<const std::int32_t> counts, std::span<std::int32_t> correct,
                const AxisScale& scale) {
  std::fill(correct.begin(), correct.end(), 0);
  const auto energy = [&scale](double index) { return scale.offset + scale.slope * index; };
  std::size_t f = 0;
  for (std::size_t i = 0; i < correct.size(); ++i) {
    // The last source channel of the previous output channel may straddle into this one.
    if (f > 0) --f;
    const double lo = k * energy(static_cast<double>(i));
    const double hi = k * energy(static_cast<double>(i) + 1.0);
    long long sum = 0;
    for (; f < counts.size(); ++f) {
      const double r = energy(static_cast<double>(f));
      const double u = r + scale.slope;
      if (r >= hi) break;
      // A channel too narrow to resolve at this energy (u == r) holds no share.
      if (u > lo && u > r) {
        sum += proportion(counts[f], (std::min(u, hi) - std::max(r, lo)) / (u - r));
      }
    }
    correct[i] = as_count(sum, i);
  }
}

}  // namespace spectools::kinecorr
