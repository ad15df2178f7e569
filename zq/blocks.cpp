// Hyperslab reads and writes of spectrum blocks. In the file the dataset's dimensions are
// the axes in order, so axis 2 runs fastest there: a column (count1 = 1) is contiguous on
// disk, and a block with both counts above 1 is transposed on its way to or from the caller.
#include "zq/blocks.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "zq/convert.h"
#include "zq/error.h"
#include "zq/h5_handle.h"
#include "zq/spectrum_file.h"
#include "zq/types.h"

namespace zq {
namespace {

std::string range_text(long long first, long long count) {
  return std::to_string(first) + ".." + std::to_string(first + count - 1);
}

std::size_t block_elements(const Block& block) {
  std::size_t count = 1;
  for (int axis = 0; axis < block.dim; ++axis) count *= static_cast<std::size_t>(block.count[axis]);
  return count;
}

bool needs_transpose(const Block& block) {
  return block.dim == 2 && block.count[0] > 1 && block.count[1] > 1;
}

// Channel numbers of element `index` of the block in file order (axis 2 fastest).
std::string channel_text(const Block& block, std::size_t index) {
  const auto offset = [](int first, std::size_t steps) {
    return std::to_string(static_cast<long long>(first) + static_cast<long long>(steps));
  };
  if (block.dim == 1) return "channel " + offset(block.first[0], index);
  const auto count2 = static_cast<std::size_t>(block.count[1]);
  return "channel (" + offset(block.first[0], index / count2) + ", " +
         offset(block.first[1], index % count2) + ")";
}

// Integer counts in full, real ones with the 9 digits a float carries.
std::string value_text(double value) {
  char text[32];
  const bool integral =
      std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15;
  std::snprintf(text, sizeof text, integral ? "%.0f" : "%.9g", value);
  return text;
}

// Selections of the block in the counts dataset and of the caller's flat buffer.
struct Selection {
  h5::Handle file_space;
  h5::Handle memory_space;
};

Selection select(const SpectrumFile& file, const Block& block) {
  const std::string action = "selecting a block of spectrum '" + file.name() + "'";
  Selection selection{h5::owned_space(H5Dget_space(file.counts()), action), {}};
  hsize_t start[2] = {};
  hsize_t count[2] = {};
  for (int axis = 0; axis < block.dim; ++axis) {
    start[axis] = static_cast<hsize_t>(static_cast<long long>(block.first[axis]) -
                                       file.description().bases[axis]);
    count[axis] = static_cast<hsize_t>(block.count[axis]);
  }
  h5::checked(H5Sselect_hyperslab(selection.file_space.id(), H5S_SELECT_SET, start, nullptr, count,
                                  nullptr),
              action);
  const hsize_t elements = block_elements(block);
  selection.memory_space = h5::owned_space(H5Screate_simple(1, &elements, nullptr), action);
  return selection;
}

void check_buffer(const void* buffer, int type) {
  check_type(type, "buffer");
  if (buffer == nullptr) throw Error(ZQ_EBADARG, "null buffer");
}

// Reads the block in the stored type (file order), then converts and reorders it into the
// caller's buffer; when neither is needed HDF5 reads straight into the buffer.
void read_selection(const SpectrumFile& file, const Block& block, void* buffer, int type) {
  const Selection selection = select(file, block);
  const std::string action = "reading spectrum '" + file.name() + "'";
  const std::size_t elements = block_elements(block);
  const int stored = file.description().type;
  const bool transposed = needs_transpose(block);
  if (stored == type && !transposed) {
    h5::checked(H5Dread(file.counts(), memory_type(type), selection.memory_space.id(),
                        selection.file_space.id(), H5P_DEFAULT, buffer),
                action);
    return;
  }
  std::vector<std::byte> raw(elements * type_width(stored));
  h5::checked(H5Dread(file.counts(), memory_type(stored), selection.memory_space.id(),
                      selection.file_space.id(), H5P_DEFAULT, raw.data()),
              action);
  std::vector<std::byte> converted(transposed ? elements * type_width(type) : 0);
  void* target = transposed ? converted.data() : buffer;
  if (auto bad = convert_elements(raw.data(), stored, target, type, elements)) {
    throw Error(ZQ_ECONVERT, "count " + value_text(element_value(raw.data(), stored, *bad)) +
                                 " at " + channel_text(block, *bad) + " of spectrum '" +
                                 file.name() + "' does not fit the buffer's type " +
                                 type_name(type));
  }
  if (transposed) {
    transpose(converted.data(), buffer, static_cast<std::size_t>(block.count[0]),
              static_cast<std::size_t>(block.count[1]), type_width(type));
  }
}

// Reorders the caller's block into file order and converts it to the stored type, all
// before anything is written: a value that does not fit leaves the file as it was.
void write_selection(const SpectrumFile& file, const Block& block, const void* buffer, int type) {
  const Selection selection = select(file, block);
  const std::size_t elements = block_elements(block);
  const int stored = file.description().type;
  std::vector<std::byte> ordered;
  const void* source = buffer;
  if (needs_transpose(block)) {
    ordered.resize(elements * type_width(type));
    transpose(buffer, ordered.data(), static_cast<std::size_t>(block.count[1]),
              static_cast<std::size_t>(block.count[0]), type_width(type));
    source = ordered.data();
  }
  std::vector<std::byte> raw;
  if (stored != type) {
    raw.resize(elements * type_width(stored));
    if (auto bad = convert_elements(source, type, raw.data(), stored, elements)) {
      throw Error(ZQ_ECONVERT, "value " + value_text(element_value(source, type, *bad)) + " for " +
                                   channel_text(block, *bad) + " does not fit type " +
                                   type_name(stored) + " of spectrum '" + file.name() + "'");
    }
    source = raw.data();
  }
  h5::checked(H5Dwrite(file.counts(), memory_type(stored), selection.memory_space.id(),
                       selection.file_space.id(), H5P_DEFAULT, source),
              "writing spectrum '" + file.name() + "'");
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
  SpectrumFile file(name, Access::read);
  check_block(name, file.description(), block);
  if (block_elements(block) > 0) read_selection(file, block, buffer, type);
  file.close();
}

void write_block(std::string_view name, const Block& block, const void* buffer, int type) {
  check_buffer(buffer, type);
  SpectrumFile file(name, Access::write);
  check_block(name, file.description(), block);
  if (block_elements(block) > 0) write_selection(file, block, buffer, type);
  file.close();
}

}  // namespace zq
