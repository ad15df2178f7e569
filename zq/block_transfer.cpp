// Transfers of checked blocks between a spectrum's counts and a caller's buffer. When the
// file's order is the caller's order and no conversion is needed, HDF5 moves the block
// straight between file and buffer. Otherwise the block passes tile by tile through a small
// staging area, where it is converted and reordered: in the file axis 2 runs fastest, so a
// block with both counts above 1 is transposed on its way. The staging area stays small so
// that no call makes or zeroes large temporary buffers.
#include "zq/block_transfer.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "zq/convert.h"
#include "zq/error.h"
#include "zq/tile_access.h"
#include "zq/tiles.h"
#include "zq/transpose.h"
#include "zq/types.h"

namespace zq {
namespace {

// Elements per tile: 64 KiB of 4-byte counts.
constexpr std::size_t kTileCapacity = 16384;
// Elements per tile of a copy between files, which needs no conversion: 1 MiB of 4-byte counts.
constexpr std::size_t kCopyTileCapacity = 262144;

BlockShape shape_of(const Block& block) {
  const auto count = [&](int axis) { return static_cast<std::size_t>(block.count[axis]); };
  return block.dim == 1 ? BlockShape{1, count(0)} : BlockShape{count(0), count(1)};
}

bool in_callers_order(const Block& block) {
  return block.dim == 1 || block.count[0] == 1 || block.count[1] == 1;
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

std::unique_ptr<std::byte[]> scratch(std::size_t elements, int type) {
  return std::make_unique_for_overwrite<std::byte[]>(elements * type_width(type));
}

// One tile of counts in the stored type and, when the buffer's type differs, in that type.
// Left uninitialised: each tile overwrites what it uses.
class Stage {
 public:
  Stage(std::size_t elements, int stored, int type)
      : stored_(scratch(elements, stored)),
        converted_(stored == type ? nullptr : scratch(elements, type)) {}

  std::byte* stored() const { return stored_.get(); }
  std::byte* in_buffer_type() const { return converted_ ? converted_.get() : stored_.get(); }

 private:
  std::unique_ptr<std::byte[]> stored_;
  std::unique_ptr<std::byte[]> converted_;
};

}  // namespace

void read_counts(const SpectrumFile& file, const Block& block, void* buffer, int type) {
  const TileAccess access(file, block);
  const Tiling tiling(shape_of(block), kTileCapacity);
  const int stored = file.description().type;
  if (stored == type && in_callers_order(block)) return access.read(tiling.whole(), buffer);

  const Stage stage(tiling.tile_elements(), stored, type);
  const std::size_t width = type_width(type);
  auto* target = static_cast<std::byte*>(buffer);
  tiling.for_each([&](const Tile& tile) {
    access.read(tile, stage.stored());
    if (stored != type) {
      const auto bad =
          convert_elements(stage.stored(), stored, stage.in_buffer_type(), type, tile.elements());
      if (bad) {
        throw Error(ZQ_ECONVERT,
                    "count " + value_text(element_value(stage.stored(), stored, *bad)) + " at " +
                        channel_text(block, tiling.file_index(tile, *bad)) + " of spectrum '" +
                        file.name() + "' does not fit the buffer's type " + type_name(type));
      }
    }
    transpose(stage.in_buffer_type(), tile.channels, target + tiling.caller_offset(tile) * width,
              tiling.shape().lines, tile.lines, tile.channels, width);
  });
}

void write_counts(const SpectrumFile& file, const Block& block, const void* buffer, int type) {
  const TileAccess access(file, block);
  const Tiling tiling(shape_of(block), kTileCapacity);
  const int stored = file.description().type;
  if (stored == type && in_callers_order(block)) return access.write(tiling.whole(), buffer);

  const Stage stage(tiling.tile_elements(), stored, type);
  const std::size_t width = type_width(type);
  const auto* source = static_cast<const std::byte*>(buffer);
  // The tile in file order and in the stored type.
  const auto staged = [&](const Tile& tile) {
    transpose(source + tiling.caller_offset(tile) * width, tiling.shape().lines,
              stage.in_buffer_type(), tile.channels, tile.channels, tile.lines, width);
    if (stored == type) return;
    const auto bad =
        convert_elements(stage.in_buffer_type(), type, stage.stored(), stored, tile.elements());
    if (bad) {
      throw Error(ZQ_ECONVERT, "value " +
                                   value_text(element_value(stage.in_buffer_type(), type, *bad)) +
                                   " for " + channel_text(block, tiling.file_index(tile, *bad)) +
                                   " does not fit type " + type_name(stored) + " of spectrum '" +
                                   file.name() + "'");
    }
  };
  // Every value is checked before anything is written: one that does not fit leaves the
  // file as it was.
  if (stored != type) tiling.for_each(staged);
  tiling.for_each([&](const Tile& tile) {
    staged(tile);
    access.write(tile, stage.stored());
  });
}

void copy_counts(const SpectrumFile& from, const SpectrumFile& to) {
  const Description& description = from.description();
  const Block whole{description.dim,
                    {description.bases[0], description.bases[1]},
                    {description.ranges[0], description.ranges[1]}};
  const TileAccess source(from, whole);
  const TileAccess target(to, whole);
  const Tiling tiling(shape_of(whole), kCopyTileCapacity);
  const auto stage =
      std::make_unique<std::byte[]>(tiling.tile_elements() * type_width(description.type));
  tiling.for_each([&](const Tile& tile) {
    source.read(tile, stage.get());
    target.write(tile, stage.get());
  });
}

}  // namespace zq
