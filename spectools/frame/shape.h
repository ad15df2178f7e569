// The source description a tool works from, and the dimension checks of the tools.
#pragma once

#include <array>
#include <string>

#include "zq/zq.h"

namespace spectools {

// Counts are always moved as 32-bit signed integers; the store converts to and from the
// stored element type and refuses values that do not fit.
inline constexpr int kCountType = ZQ_INT32;

struct Shape {
  int dim = 0;
  std::array<int, ZQ_MAX_DIM> bases{};
  std::array<int, ZQ_MAX_DIM> ranges{};
  int layout = 0;
  int type = 0;

  // Number of channels of the whole spectrum (at most 2^31 - 1 in any stored spectrum).
  long long channels() const;
};

// ZQinquireSpectrum into `shape`; returns the store's status.
int inquire(const std::string& spectrum, Shape& shape);

// The description of `spectrum`; a failing inquiry ends the tool through
// library_failed(spectrum).
Shape inquire_spectrum(const std::string& spectrum);

// notimplemented("spectrum not two dimensional") unless dim is 2, and the like.
void require_two_dimensional(const Shape& shape);
void require_one_or_two_dimensional(const Shape& shape);
void require_one_dimensional(const Shape& shape);

}  // namespace spectools
