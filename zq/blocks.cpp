// Checks of block calls against a spectrum's extent, and the block calls themselves.
#include "zq/blocks.h"

#include <string>

#include "zq/block_transfer.h"
#include "zq/error.h"
#include "zq/spectrum_change.h"
#include "zq/spectrum_file.h"
#include "zq/types.h"

namespace zq {
namespace {

std::string range_text(long long first, long long count) {
  return std::to_string(first) + ".." + std::to_string(first + count - 1);
}

bool is_empty(const Block& block) {
  for (int axis = 0; axis < block.dim; ++axis) {
    if (block.count[axis] == 0) return true;
  }
  return false;
}

void check_buffer(const void* buffer, int type) {
  check_type(type, "buffer");
  if (buffer == nullptr) throw Error(ZQ_EBADARG, "null buffer");
}

}  // namespace

void check_block(std::string_view name, const Description& description, const Block& block) {
  const std::string spectrum = "spectrum '" + std::string(name) + "'";
  if (block.dim != description.dim) {
    throw Error(ZQ_EBADSHAPE, spectrum + " has " + std::to_string(description.dim) +
                                  " dimensions, not " + std::to_string(block.dim));
  }
  for (int axis = 0; axis < block.dim; ++axis) {
    const std::string label = "axis " + std::to_string(axis + 1);
    const long long first = block.first[axis];
    const long long count = block.count[axis];
    if (count < 0) {
      throw Error(ZQ_EBADSHAPE, "negative channel count " + std::to_string(count) + " on " + label +
                                    " of " + spectrum);
    }
    const long long base = description.bases[axis];
    const long long range = description.ranges[axis];
    if (count > 0 && (first < base || first + count > base + range)) {
      throw Error(ZQ_EEXTENT, "block " + range_text(first, count) + " on " + label +
                                  " outside the extent " + range_text(base, range) + " of " +
                                  spectrum);
    }
  }
}

void read_block(std::string_view name, const Block& block, void* buffer, int type) {
  check_buffer(buffer, type);
  SpectrumFile file(name);
  check_block(name, file.description(), block);
  if (!is_empty(block)) read_counts(file, block, buffer, type);
  file.close();
}

void write_block(std::string_view name, const Block& block, const void* buffer, int type) {
  check_buffer(buffer, type);
  const auto check = [&](const SpectrumFile& file) {
    check_block(name, file.description(), block);
  };
  if (is_empty(block)) {
    check(SpectrumFile(name));  // nothing to change: the spectrum stays as it is
    return;
  }
  change_spectrum(name, check,
                  [&](const SpectrumFile& file) { write_counts(file, block, buffer, type); });
}

}  // namespace zq
