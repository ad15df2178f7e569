// Tile sizes and positions.
#include "zq/tiles.h"

#include <algorithm>

namespace zq {

Tiling::Tiling(const BlockShape& shape, std::size_t capacity)
    : shape_(shape),
      tile_lines_(std::min(shape.lines, std::max<std::size_t>(1, capacity / shape.length))),
      tile_channels_(std::min(shape.length, capacity)) {}

std::size_t Tiling::file_index(const Tile& tile, std::size_t index) const {
  return (tile.line + index / tile.channels) * shape_.length + tile.channel + index % tile.channels;
}

std::size_t Tiling::caller_offset(const Tile& tile) const {
  return tile.channel * shape_.lines + tile.line;
}

}  // namespace zq
