// Block transfers of the frame and the column-block loop, against a real store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "../zq/store_scratch.h"
#include "exit_of.h"
#include "spectools/frame/blocks.h"
#include "spectools/frame/column_blocks.h"
#include "zq/zq.h"

namespace {

using namespace spectools;
using tool_test::exit_of;
using Counts = std::vector<std::int32_t>;

TEST(BlockBuffer, HoldsTheBlockOnlyWhenItCanLieInsideTheSpectrum) {
  struct Case {
    Block block;
    long long spectrum_channels;
    std::size_t elements;
  };
  const Case cases[] = {
      {{1, {0, 0}, {10, 0}}, 30, 10},
      {{1, {0, 0}, {31, 0}}, 30, 1},
      {{1, {0, 0}, {0, 0}}, 30, 1},
      {{1, {0, 0}, {-5, 0}}, 30, 1},
      {{2, {0, 0}, {4, 5}}, 20, 20},
      {{2, {0, 0}, {4, 6}}, 20, 1},
      {{2, {0, 0}, {2000000000, 2000000000}}, 20, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(block_buffer_elements(c.block, c.spectrum_channels), c.elements)
        << c.block.count[0] << " x " << c.block.count[1];
  }
}

TEST(ColumnsPerBlock, AsManyAsFitAtLeastOneAtMostAll) {
  struct Case {
    int columns;
    int column_channels;
    long long block_channels;
    int per_block;
  };
  const Case cases[] = {
      {1024, 1024, 65536, 64}, {1024, 1000, 65536, 65}, {10, 1024, 65536, 10},
      {1024, 70000, 65536, 1}, {5, 0, 65536, 5},        {0, 10, 65536, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(columns_per_block(c.columns, c.column_channels, c.block_channels), c.per_block)
        << c.columns << " " << c.column_channels;
  }
}

class BlocksTest : public zq_test::StoreTest {
 protected:
  // What new spectra are made like: layout 0, 32-bit counts.
  static Shape int32_spectrum() {
    Shape shape;
    shape.type = ZQ_INT32;
    return shape;
  }

  static Shape shape_of(const std::string& name) {
    Shape shape;
    EXPECT_EQ(inquire(name, shape), 0) << ZQerrorMessage(ZQerrno);
    return shape;
  }
};

TEST_F(BlocksTest, CreateWriteAndReadOneAndTwoDimensions) {
  Shape like;
  like.layout = 5;
  like.type = ZQ_INT16;
  const Block line{1, {-3, 0}, {4, 0}};
  create_spectrum("line", line, like);
  write_block("line", line, Counts{7, -8, 9, 10});
  const Shape line_shape = shape_of("line");
  EXPECT_EQ(line_shape.dim, 1);
  EXPECT_EQ(line_shape.layout, 5);
  EXPECT_EQ(line_shape.type, ZQ_INT16);
  EXPECT_EQ(read_block("line", line_shape, whole_spectrum(line_shape)), (Counts{7, -8, 9, 10}));
  EXPECT_EQ(read_block("line", line_shape, Block{1, {-2, 0}, {2, 0}}), (Counts{-8, 9}));
  EXPECT_TRUE(read_block("line", line_shape, Block{1, {0, 0}, {0, 0}}).empty());

  const Block plane{2, {1, 10}, {3, 2}};
  create_spectrum("plane", plane, like);
  write_block("plane", plane, Counts{1, 2, 3, 4, 5, 6});
  const Shape plane_shape = shape_of("plane");
  EXPECT_EQ(plane_shape.dim, 2);
  EXPECT_EQ(read_block("plane", plane_shape, Block{2, {2, 10}, {2, 2}}), (Counts{2, 3, 5, 6}));
  write_block("plane", Block{2, {3, 11}, {0, 1}}, Counts{});
}

TEST_F(BlocksTest, FailuresNameTheSpectrum) {
  const Block line{1, {0, 0}, {3, 0}};
  create_spectrum("line", line, int32_spectrum());
  const Shape shape = shape_of("line");
  EXPECT_EQ(exit_of([&] {
              read_block("line", shape, Block{1, {2, 0}, {2000000000, 0}});
            })->output(),
            "block 2..2000000001 on axis 1 outside the extent 0..2 of spectrum 'line': line\n");
  EXPECT_EQ(exit_of([&] {
              read_block("line", shape, Block{2, {0, 0}, {1, 1}});
            })->output(),
            "spectrum 'line' has 1 dimensions, not 2: line\n");
  EXPECT_EQ(exit_of([&] {
              write_block("gone", line, Counts{1, 2, 3});
            })->output(),
            "no such spectrum 'gone': gone\n");
  EXPECT_EQ(exit_of([&] { create_spectrum("../x", line, shape); })->output(),
            "spectrum name '../x' holds a path separator: ../x\n");
  EXPECT_THROW(write_block("line", line, Counts{1, 2}), std::logic_error);
}

// Each target column: the source column reversed and cut or padded to the target's length,
// plus 1000 times its absolute column number.
void reverse_and_mark(int column, std::span<const std::int32_t> source,
                      std::span<std::int32_t> target) {
  for (std::size_t j = 0; j < target.size() && j < source.size(); ++j) {
    target[j] = source[source.size() - 1 - j] + 1000 * column;
  }
}

TEST_F(BlocksTest, ColumnsAreMadeInOrderAcrossSeveralBlocks) {
  // 7 columns of 4 channels from (2, 5); count = 10 * axis-2 index + axis-1 index.
  Counts counts(28);
  for (int j = 0; j < 4; ++j) {
    for (int k = 0; k < 7; ++k) counts[static_cast<std::size_t>(j * 7 + k)] = 10 * j + k;
  }
  const Block whole{2, {2, 5}, {7, 4}};
  create_spectrum("src", whole, int32_spectrum());
  write_block("src", whole, counts);
  const Shape source = shape_of("src");

  struct Case {
    int count2;  // target column length
    long long block_channels;
  };
  // Blocks of 7 columns at once, of 3 (the last one short), and of 1.
  for (const Case& c : {Case{4, 1 << 16}, Case{5, 15}, Case{3, 1}}) {
    const Block extent{2, {0, 0}, {10, c.count2}};
    create_spectrum("dst", extent, int32_spectrum());
    std::vector<int> order;
    const ColumnFill fill = [&order](int column, std::span<const std::int32_t> in,
                                     std::span<std::int32_t> out) {
      order.push_back(column);
      EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::int32_t v) { return v == 0; }));
      reverse_and_mark(column, in, out);
    };
    transform_columns("src", source, "dst", ColumnTarget{3, 0, c.count2}, fill, c.block_channels);
    std::vector<int> columns(7);
    std::iota(columns.begin(), columns.end(), 2);
    EXPECT_EQ(order, columns) << c.block_channels;
    const Counts made = read_block("dst", shape_of("dst"), extent);
    for (int k = 0; k < 10; ++k) {
      for (int j = 0; j < c.count2; ++j) {
        const bool placed = k >= 3 && j < 4;
        const int expected = placed ? 10 * (3 - j) + (k - 3) + 1000 * (k - 1) : 0;
        EXPECT_EQ(made[static_cast<std::size_t>(j * 10 + k)], expected)
            << "column " << k << " channel " << j << " blocks of " << c.block_channels;
      }
    }
  }
}

TEST_F(BlocksTest, ColumnsOutsideTheTargetFailOnTheTarget) {
  const Block whole{2, {0, 0}, {3, 2}};
  create_spectrum("src", whole, int32_spectrum());
  create_spectrum("dst", whole, int32_spectrum());
  const ColumnFill copy = [](int, std::span<const std::int32_t> in, std::span<std::int32_t> out) {
    std::copy(in.begin(), in.end(), out.begin());
  };
  const auto exit = exit_of([&] {
    transform_columns("src", shape_of("src"), "dst", ColumnTarget{1, 0, 2}, copy);
  });
  ASSERT_TRUE(exit);
  EXPECT_EQ(exit->output(),
            "block 1..3 on axis 1 outside the extent 0..2 of spectrum 'dst': dst\n");
}

}  // namespace
