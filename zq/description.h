// What ZQinquireSpectrum reports about a spectrum, and the limits every spectrum keeps.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "zq/zq.h"

namespace zq {

struct Description {
  int dim = 0;
  std::array<int, ZQ_MAX_DIM> bases{};   // first channel per axis
  std::array<int, ZQ_MAX_DIM> ranges{};  // channel count per axis
  int layout = 0;                        // carried for the caller, no effect on storage
  int type = ZQ_INT32;
};

// Largest channel count of a whole spectrum: element counts and channel numbers then fit
// an int, as callers compute them.
inline constexpr long long kMaxElements = 2147483647;

// Why a shape is unusable (dim outside 1..max_dim, a count below 1, an axis running past the
// largest int channel number, too many elements), or nothing.
std::optional<std::string> shape_fault(const Description& description, int max_dim);

std::size_t element_count(const Description& description);

}  // namespace zq
