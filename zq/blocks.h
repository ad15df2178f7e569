// Block transfers between a caller's buffer and a spectrum's counts, checked against the
// spectrum's extent and converted between the caller's and the stored element type.
#pragma once

#include <array>
#include <string_view>

#include "zq/description.h"

namespace zq {

// First channel and channel count per axis of a 1-D (dim 1) or 2-D (dim 2) block call.
struct Block {
  int dim = 1;
  std::array<int, 2> first{};
  std::array<int, 2> count{};
};

// Throws ZQ_EBADSHAPE when the call's dimension differs from the spectrum's or a count is
// negative, ZQ_EEXTENT when the block does not lie inside the bases and ranges.
void check_block(std::string_view name, const Description& description, const Block& block);

// In the buffer axis 1 runs fastest: element (i1, i2) sits at
// (i2 - first2) * count1 + (i1 - first1). `type` is the buffer's type code.
void read_block(std::string_view name, const Block& block, void* buffer, int type);
void write_block(std::string_view name, const Block& block, const void* buffer, int type);

}  // namespace zq
