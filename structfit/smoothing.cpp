// Three-point running mean, in place.
#include "structfit/smoothing.h"

#include <cstddef>

namespace structfit {

void smooth_three_point(std::span<float> values) {
  // The mean is taken as a product with the 32-bit value nearest one third.
  constexpr float kThird = 0.33333334f;
  for (std::size_t i = 1; i + 1 < values.size(); ++i)
    values[i] = (values[i - 1] + values[i] + values[i + 1]) * kThird;
}

}  // namespace structfit
