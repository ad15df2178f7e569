// Blocks of counts between a tool and the store: one- or two-dimensional, moved as 32-bit
// counts with axis 1 running fastest; a failing store call ends the tool with the store's
// message and the spectrum's name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "spectools/frame/shape.h"

namespace spectools {

// First channel and channel count per axis; axis 2 is unused when dim is 1.
struct Block {
  int dim = 2;
  std::array<int, 2> first{};
  std::array<int, 2> count{};
};

// The whole of a one- or two-dimensional spectrum.
Block whole_spectrum(const Shape& shape);

// Elements of the buffer a block of a spectrum of `spectrum_channels` channels is read into.
// A block with a count below 1, or holding more channels than the whole spectrum, cannot be
// read: the store refuses it before it touches the buffer, so one element is enough there.
std::size_t block_buffer_elements(const Block& block, long long spectrum_channels);

// The counts of `block` of `spectrum`, whose description is `shape`. A block outside the
// spectrum fails in the store's extent check (library_failed(spectrum)).
std::vector<std::int32_t> read_block(const std::string& spectrum, const Shape& shape,
                                     const Block& block);

// Writes `counts` (at least the block's channels) to `block` of `spectrum`; a count that
// does not fit the stored type fails in the store (library_failed(spectrum)).
void write_block(const std::string& spectrum, const Block& block,
                 std::span<const std::int32_t> counts);

// Creates `spectrum` (replacing any of that name) over the extent of `block`, with the
// layout and type of `like`.
void create_spectrum(const std::string& spectrum, const Block& extent, const Shape& like);

}  // namespace spectools
