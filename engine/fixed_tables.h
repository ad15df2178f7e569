// The look-up tables built once at program start and read-only afterwards: Gaussian
// quantiles, exponentials and integer roots, with pi and the degree-to-radian factor. They
// replace library calls in the innermost loops (one rounding and one read each). Every
// look-up limits its index to the table, so no argument reads outside it.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/rounding.h"

namespace engine {

struct FixedTables {
  static constexpr std::int32_t kGaussLast = 1000;    // G(-1000..1000)
  static constexpr std::int32_t kExpLowest = -25000;  // E(-25000..5000)
  static constexpr std::int32_t kExpHighest = 5000;
  static constexpr std::int32_t kRootLast = 400000;       // I(0..400000)
  static constexpr std::int32_t kRingIndexCap = 1000000;  // ring of 10 000 Å and beyond

  float pi = 0.0f;                       // 4 atan(1) in 32-bit
  float deg_to_rad = 0.0f;               // pi times the 32-bit 1/180
  std::vector<float> gauss_table;        // G(k) at [k + 1000]
  std::vector<float> exp_table;          // E(m) = exp(0.008 m) at [m + 25000]
  std::vector<std::int32_t> root_table;  // I(n) = NINT(sqrt(n + 0.5)) at [n]

  // G(k), k limited to -1000..1000.
  float gauss(std::int32_t k) const {
    const std::int32_t i = k < -kGaussLast ? -kGaussLast : (k > kGaussLast ? kGaussLast : k);
    return gauss_table[static_cast<std::size_t>(i + kGaussLast)];
  }
  // E(m), m limited to -25000..5000: exponents beyond the table read its end entries.
  float exp_entry(std::int32_t m) const {
    const std::int32_t i = m < kExpLowest ? kExpLowest : (m > kExpHighest ? kExpHighest : m);
    return exp_table[static_cast<std::size_t>(i - kExpLowest)];
  }
  // E(NINT(y)): exp(0.008 y) for a 125-scaled exponent y, limited as exp_entry.
  float exp_scaled(double y) const {
    return exp_table[static_cast<std::size_t>(nint_within(y, kExpLowest, kExpHighest) -
                                              kExpLowest)];
  }
  // E(NINT(y)) for a 32-bit exponent the caller knows to lie in -25000..5000: exp_scaled
  // without the limits.
  float exp_inside(float y) const {
    return exp_table[static_cast<std::size_t>(nint_small(y) - kExpLowest)];
  }
  // I(n), n limited to 0..400000.
  std::int32_t root(std::int32_t n) const {
    const std::int32_t i = n < 0 ? 0 : (n > kRootLast ? kRootLast : n);
    return root_table[static_cast<std::size_t>(i)];
  }
  // Ring index of a transverse distance rho (Å) from rho^2: I(trunc(10000 rho^2)), the
  // nearest integer to 100 rho (rings 0.01 Å wide). Beyond the table (rho^2 >= 40 Å^2) the
  // same rounding is computed directly, up to kRingIndexCap; a NaN gives kRingIndexCap, so
  // callers treat every index past their last ring alike.
  std::int32_t ring_index(float rho2) const {
    const float scaled = 10000.0f * rho2;
    if (scaled < static_cast<float>(kRootLast + 1)) {
      return root_table[static_cast<std::size_t>(
          scaled < 1.0f ? 0 : static_cast<std::int32_t>(scaled))];
    }
    if (!(scaled < 1.0e12f)) return kRingIndexCap;
    return static_cast<std::int32_t>(std::lround(std::sqrt(std::trunc(double{scaled}) + 0.5)));
  }
};

// The Gaussian quantile table G(-1000..1000) (2001 entries).
std::vector<float> build_gauss_table();
// The exponential table E(-25000..5000) (30001 entries).
std::vector<float> build_exp_table();
// The integer root table I(0..400000) (400001 entries).
std::vector<std::int32_t> build_root_table();

// pi and deg_to_rad, then the Gaussian, exponential and root tables, in that order.
FixedTables build_fixed_tables();

}  // namespace engine
