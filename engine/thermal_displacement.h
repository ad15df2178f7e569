// Standard normal deviates from the quantile table, and the thermal displacement of the
// atoms examined in one partner search of an ion.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/fixed_tables.h"
#include "engine/ion_stream.h"

namespace engine {

// NINT(2000 u) for the uniform deviate u = (k + 1/2) 2^-32 of the stream output k, in
// integers: 2000 u = (2000 k + 1000) 2^-32 exactly (a 33-bit times a 7-bit significand fits a
// double), and NINT of a positive value is floor(value + 1/2), so the index is
// floor((2000 k + 1000 + 2^31) / 2^32), from 0 to 2000 (k = 2^32 - 1 gives 2000).
inline std::int32_t gauss_level(std::uint32_t k) {
  constexpr std::uint64_t kHalf = std::uint64_t{1} << 31;
  return static_cast<std::int32_t>((std::uint64_t{2000} * k + 1000 + kHalf) >> 32);
}

// g = G(NINT(2000 u) - 1000) for one uniform deviate u: each of G(-999..999) with
// probability 1/2000, the end entries (about +-3.89) with 1/4000. G(k) lies at k + 1000.
inline float standard_normal_deviate(const FixedTables& tables, IonStream& stream) {
  return tables.gauss_table[static_cast<std::size_t>(gauss_level(stream.next_bits()))];
}

struct Displacement {
  float x = 0.0f, y = 0.0f, z = 0.0f;  // Å
};

// The three deviates of one partner search, drawn at its start (gx, gy, gz in that order)
// and shared by every candidate atom of that search; the next search draws afresh, so each
// collision partner carries an independent isotropic Gaussian displacement.
class SearchDisplacement {
 public:
  SearchDisplacement(const FixedTables& tables, IonStream& stream)
      : gx_(standard_normal_deviate(tables, stream)),
        gy_(standard_normal_deviate(tables, stream)),
        gz_(standard_normal_deviate(tables, stream)) {}

  // The displacement of a candidate with rms amplitude sigma (Å): sigma (gx, gy, gz).
  Displacement of(float sigma) const { return {sigma * gx_, sigma * gy_, sigma * gz_}; }

 private:
  // Declaration order is the drawing order.
  float gx_, gy_, gz_;
};

}  // namespace engine
