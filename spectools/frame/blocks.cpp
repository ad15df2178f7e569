// Block reads, writes and creation through the store's C interface, one or two dimensions.
#include "spectools/frame/blocks.h"

#include <algorithm>
#include <stdexcept>

#include "spectools/frame/failures.h"
#include "zq/zq.h"

namespace spectools {
namespace {

// Channels the block holds when every count is taken as at least 0.
long long block_channels(const Block& block) {
  long long channels = 1;
  for (int axis = 0; axis < block.dim && axis < 2; ++axis) {
    channels *= std::max(block.count[static_cast<std::size_t>(axis)], 0);
  }
  return channels;
}

}  // namespace

Block whole_spectrum(const Shape& shape) {
  return {shape.dim, {shape.bases[0], shape.bases[1]}, {shape.ranges[0], shape.ranges[1]}};
}

std::size_t block_buffer_elements(const Block& block, long long spectrum_channels) {
  long long elements = 1;
  for (int axis = 0; axis < block.dim && axis < 2; ++axis) {
    const int count = block.count[static_cast<std::size_t>(axis)];
    if (count < 1) return 1;
    elements *= count;
    if (elements > spectrum_channels) return 1;
  }
  return static_cast<std::size_t>(elements);
}

std::vector<std::int32_t> read_block(const std::string& spectrum, const Shape& shape,
                                     const Block& block) {
  std::vector<std::int32_t> counts(block_buffer_elements(block, shape.channels()));
  const char* name = spectrum.c_str();
  const auto& [first1, first2] = block.first;
  const auto& [count1, count2] = block.count;
  const int status =
      block.dim == 1
          ? ZQread1dSpectrum(name, first1, count1, counts.data(), kCountType)
          : ZQread2dSpectrum(name, first1, count1, first2, count2, counts.data(), kCountType);
  if (status != 0) library_failed(spectrum);
  counts.resize(static_cast<std::size_t>(block_channels(block)));
  return counts;
}

void write_block(const std::string& spectrum, const Block& block,
                 std::span<const std::int32_t> counts) {
  if (static_cast<long long>(counts.size()) < block_channels(block)) {
    throw std::logic_error("fewer counts than channels in a block of spectrum " + spectrum);
  }
  // The store wants a buffer even for an empty block.
  const std::int32_t none = 0;
  const std::int32_t* data = counts.empty() ? &none : counts.data();
  const char* name = spectrum.c_str();
  const auto& [first1, first2] = block.first;
  const auto& [count1, count2] = block.count;
  const int status =
      block.dim == 1 ? ZQwrite1dSpectrum(name, first1, count1, data, kCountType)
                     : ZQwrite2dSpectrum(name, first1, count1, first2, count2, data, kCountType);
  if (status != 0) library_failed(spectrum);
}

void create_spectrum(const std::string& spectrum, const Block& extent, const Shape& like) {
  const char* name = spectrum.c_str();
  const auto& [base1, base2] = extent.first;
  const auto& [range1, range2] = extent.count;
  const int status =
      extent.dim == 1
          ? ZQcreate1dSpectrum(name, base1, range1, like.layout, like.type)
          : ZQcreate2dSpectrum(name, base1, range1, base2, range2, like.layout, like.type);
  if (status != 0) library_failed(spectrum);
}

}  // namespace spectools
