// Cutting blocks into tiles and reordering them: tiles cover a block once in file order and
// land where the caller's order puts them.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "zq/tiles.h"
#include "zq/transpose.h"

namespace {

struct TilingCase {
  std::size_t lines, length, capacity;
  std::size_t tile_lines, tile_channels;  // of the first, largest tile
  std::size_t tiles;
};

TEST(Tiling, TilesCoverTheBlockOnceInFileOrderWithinCapacity) {
  const TilingCase cases[] = {
      {64, 1024, 16384, 16, 1024, 4},  // whole lines, several to a tile
      {1, 1024, 16384, 1, 1024, 1},    // one column
      {1000, 1, 16384, 1000, 1, 1},    // one row of axis 1
      {5, 7, 10, 1, 7, 5},             // a line fits, two do not
      {3, 25, 10, 1, 10, 9},           // a line does not fit: pieces of one line
      {7, 3, 1, 1, 1, 21},             // one element per tile
  };
  for (const TilingCase& c : cases) {
    const zq::Tiling tiling({c.lines, c.length}, c.capacity);
    EXPECT_EQ(tiling.tile_elements(), c.tile_lines * c.tile_channels) << c.lines << "x" << c.length;
    std::vector<std::size_t> visits;
    std::size_t tiles = 0;
    tiling.for_each([&](const zq::Tile& tile) {
      ++tiles;
      EXPECT_LE(tile.elements(), c.capacity);
      for (std::size_t i = 0; i < tile.elements(); ++i) {
        visits.push_back(tiling.file_index(tile, i));
      }
    });
    EXPECT_EQ(tiles, c.tiles) << c.lines << "x" << c.length;
    std::vector<std::size_t> in_order(c.lines * c.length);
    std::iota(in_order.begin(), in_order.end(), 0);
    EXPECT_EQ(visits, in_order) << c.lines << "x" << c.length;
  }
}

TEST(Tiling, CallerOffsetPutsATileWhereAxisOneRunsFastest) {
  // Lines are axis 1: the caller's element (line, channel) sits at channel * lines + line.
  const zq::Tiling tiling({6, 4}, 8);
  EXPECT_EQ(tiling.caller_offset({0, 2, 0, 4}), 0u);
  EXPECT_EQ(tiling.caller_offset({4, 2, 0, 4}), 4u);
  const zq::Tiling long_lines({3, 25}, 10);
  EXPECT_EQ(long_lines.caller_offset({2, 1, 20, 5}), 20u * 3 + 2);
}

TEST(Transpose, SwapsRowAndColumnOrder) {
  const std::int16_t rows[2][3] = {{1, 2, 3}, {4, 5, 6}};
  std::int16_t columns[6] = {};
  zq::transpose(rows, 3, columns, 2, 2, 3, sizeof(std::int16_t));
  EXPECT_EQ(std::vector<std::int16_t>(columns, columns + 6),
            (std::vector<std::int16_t>{1, 4, 2, 5, 3, 6}));
}

TEST(Transpose, TileOfAFileOrderBlockLandsInItsPlaceInTheCallersBlock) {
  // A 4 x 3 block (4 lines of 3 channels); the tile is lines 1..2, channels 1..2.
  const std::uint8_t tile[2][2] = {{11, 12}, {21, 22}};
  std::vector<std::uint8_t> block(12, 0);
  const zq::Tiling tiling({4, 3}, 16);
  const zq::Tile where{1, 2, 1, 2};
  zq::transpose(tile, 2, block.data() + tiling.caller_offset(where), 4, 2, 2, 1);
  // Caller's order: channel c of line l at c * 4 + l.
  EXPECT_EQ(block, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 11, 21, 0, 0, 12, 22, 0}));
  // And back: the caller's block, read with rows of 4, gives the tile in file order.
  std::uint32_t wide[12];
  for (int i = 0; i < 12; ++i) wide[i] = block[i];
  std::uint32_t back[2][2] = {};
  zq::transpose(wide + tiling.caller_offset(where), 4, back, 2, 2, 2, sizeof(std::uint32_t));
  EXPECT_EQ(back[0][0], 11u);
  EXPECT_EQ(back[0][1], 12u);
  EXPECT_EQ(back[1][0], 21u);
  EXPECT_EQ(back[1][1], 22u);
}

}  // namespace
