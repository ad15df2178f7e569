// How a block is cut into tiles that fit a bounded staging area, and where each tile sits in
// the file's order (axis 2 fastest) and in the caller's order (axis 1 fastest).
#pragma once

#include <cstddef>

namespace zq {

// A block in file order: `lines` axis-1 lines of `length` axis-2 channels each. A 1-D block
// is a single line.
struct BlockShape {
  std::size_t lines = 1;
  std::size_t length = 1;
};

// Lines [line, line + lines) and channels [channel, channel + channels) of a block, counted
// from the block's first line and channel.
struct Tile {
  std::size_t line = 0;
  std::size_t lines = 0;
  std::size_t channel = 0;
  std::size_t channels = 0;

  std::size_t elements() const { return lines * channels; }
};

class Tiling {
 public:
  // Tiles of at most `capacity` (>= 1) elements: as many whole lines as fit, or pieces of
  // one line when a whole line does not. Both counts of `shape` must be at least 1.
  Tiling(const BlockShape& shape, std::size_t capacity);

  const BlockShape& shape() const { return shape_; }
  // Elements of the largest tile.
  std::size_t tile_elements() const { return tile_lines_ * tile_channels_; }
  // The whole block as one tile.
  Tile whole() const { return Tile{0, shape_.lines, 0, shape_.length}; }

  // Position in the block's file order of element `index` of `tile` (in the tile's file order).
  std::size_t file_index(const Tile& tile, std::size_t index) const;
  // Position of the tile's first element in the caller's order; the tile's channels then
  // lie shape().lines elements apart there.
  std::size_t caller_offset(const Tile& tile) const;

  // Calls `visit(tile)` for each tile, in file order: together they cover the block once.
  template <class Visit>
  void for_each(Visit&& visit) const {
    for (std::size_t line = 0; line < shape_.lines; line += tile_lines_) {
      for (std::size_t channel = 0; channel < shape_.length; channel += tile_channels_) {
        visit(Tile{line, next_count(line, tile_lines_, shape_.lines), channel,
                   next_count(channel, tile_channels_, shape_.length)});
      }
    }
  }

 private:
  static std::size_t next_count(std::size_t start, std::size_t step, std::size_t end) {
    return end - start < step ? end - start : step;
  }

  BlockShape shape_;
  std::size_t tile_lines_;
  std::size_t tile_channels_;
};

}  // namespace zq
