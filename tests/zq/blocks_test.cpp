// Block reads and writes: round trips of every element type, element order, the extent
// checks and the conversion failures.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "store_scratch.h"
#include "zq/types.h"
#include "zq/zq.h"

namespace {

using zq_test::StoreTest;

// Counts that fit every element type: 0..99 repeating, as int32.
std::vector<std::int32_t> ramp(std::size_t count, int start = 0) {
  std::vector<std::int32_t> values(count);
  for (std::size_t i = 0; i < count; ++i) values[i] = static_cast<std::int32_t>((start + i) % 100);
  return values;
}

class TypeRoundTrip : public StoreTest, public ::testing::WithParamInterface<int> {};

TEST_P(TypeRoundTrip, BlocksColumnsRowsAndFarEndComeBackUnchanged) {
  const int type = GetParam();
  // Axis 1: channels 10..15, axis 2: channels -3..4.
  ASSERT_EQ(ZQcreate2dSpectrum("s", 10, 6, -3, 8, 0, type), 0);
  const std::vector<std::int32_t> block = ramp(6 * 8);
  ASSERT_EQ(ZQwrite2dSpectrum("s", 10, 6, -3, 8, block.data(), ZQ_INT32), 0);

  std::vector<std::int32_t> whole(6 * 8, -1);
  ASSERT_EQ(ZQread2dSpectrum("s", 10, 6, -3, 8, whole.data(), ZQ_INT32), 0);
  EXPECT_EQ(whole, block);

  // Column i1 = 12: axis-2 channels in order, from the block's axis-1-fastest layout.
  std::vector<std::int32_t> column(8);
  ASSERT_EQ(ZQread2dSpectrum("s", 12, 1, -3, 8, column.data(), ZQ_INT32), 0);
  for (int i2 = 0; i2 < 8; ++i2) EXPECT_EQ(column[i2], block[i2 * 6 + 2]) << i2;

  // Row i2 = 1: axis-1 channels in order.
  std::vector<std::int32_t> row(6);
  ASSERT_EQ(ZQread2dSpectrum("s", 10, 6, 1, 1, row.data(), ZQ_INT32), 0);
  for (int i1 = 0; i1 < 6; ++i1) EXPECT_EQ(row[i1], block[4 * 6 + i1]) << i1;

  // The far-end element alone, written in the stored type itself.
  std::vector<std::byte> far(zq::type_width(type));
  ASSERT_EQ(ZQread2dSpectrum("s", 15, 1, 4, 1, far.data(), type), 0);
  std::int32_t corner = -1;
  ASSERT_EQ(ZQread2dSpectrum("s", 15, 1, 4, 1, &corner, ZQ_INT32), 0);
  EXPECT_EQ(corner, block.back());
  const std::int32_t seven = 7;
  ASSERT_EQ(ZQwrite2dSpectrum("s", 15, 1, 4, 1, &seven, ZQ_INT32), 0);
  ASSERT_EQ(ZQread2dSpectrum("s", 15, 1, 4, 1, &corner, ZQ_INT32), 0);
  EXPECT_EQ(corner, 7);
}

TEST_P(TypeRoundTrip, OneDimensionalSpectraToo) {
  const int type = GetParam();
  ASSERT_EQ(ZQcreate1dSpectrum("line", 100, 50, 0, type), 0);
  const std::vector<std::int32_t> counts = ramp(20, 30);
  ASSERT_EQ(ZQwrite1dSpectrum("line", 130, 20, counts.data(), ZQ_INT32), 0);
  std::vector<std::int32_t> whole(50, -1);
  ASSERT_EQ(ZQread1dSpectrum("line", 100, 50, whole.data(), ZQ_INT32), 0);
  EXPECT_EQ(std::vector<std::int32_t>(whole.begin() + 30, whole.begin() + 50), counts);
  EXPECT_EQ(std::accumulate(whole.begin(), whole.begin() + 30, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryTypeCode, TypeRoundTrip, ::testing::Range(0, 7),
                         [](const auto& info) { return std::string(zq::type_name(info.param)); });

TEST_F(StoreTest, BlockOrderRunsAxisOneFastest) {
  ASSERT_EQ(ZQcreate2dSpectrum("grid", 0, 3, 0, 2, 0, ZQ_INT32), 0);
  // Columns written one by one: column i1 holds 10 * i1 + i2.
  for (int i1 = 0; i1 < 3; ++i1) {
    const std::int32_t column[2] = {10 * i1, 10 * i1 + 1};
    ASSERT_EQ(ZQwrite2dSpectrum("grid", i1, 1, 0, 2, column, ZQ_INT32), 0);
  }
  std::int32_t block[6];
  ASSERT_EQ(ZQread2dSpectrum("grid", 0, 3, 0, 2, block, ZQ_INT32), 0);
  EXPECT_EQ(std::vector<std::int32_t>(block, block + 6),
            (std::vector<std::int32_t>{0, 10, 20, 1, 11, 21}));
  // An inner 2 x 2 block follows the same order, also across a type conversion.
  std::int16_t inner[4];
  ASSERT_EQ(ZQread2dSpectrum("grid", 1, 2, 0, 2, inner, ZQ_INT16), 0);
  EXPECT_EQ(std::vector<std::int16_t>(inner, inner + 4),
            (std::vector<std::int16_t>{10, 20, 11, 21}));
}

// Blocks that pass through the store in many pieces: more channels than one piece holds, and
// axis-2 lines longer than one piece. Count (i1, i2) is 7 * i1 + 3 * i2, which fits int16.
struct LargeCase {
  int lines, length;  // channels on axis 1 and on axis 2
  int type;           // stored type
};

std::int32_t large_count(int i1, int i2) {
  return 7 * i1 + 3 * i2;
}

TEST_F(StoreTest, LargeBlocksComeBackInPlaceWholeAndInParts) {
  const LargeCase cases[] = {
      {40, 1000, ZQ_INT32}, {40, 1000, ZQ_INT16}, {3, 20000, ZQ_INT32}, {3, 20000, ZQ_FLOAT32}};
  for (const LargeCase& c : cases) {
    const std::string label =
        std::to_string(c.lines) + "x" + std::to_string(c.length) + " " + zq::type_name(c.type);
    ASSERT_EQ(ZQcreate2dSpectrum("big", 5, c.lines, -2, c.length, 0, c.type), 0);
    std::vector<std::int32_t> block(static_cast<std::size_t>(c.lines) * c.length);
    for (int i2 = 0; i2 < c.length; ++i2) {
      for (int i1 = 0; i1 < c.lines; ++i1) block[i2 * c.lines + i1] = large_count(i1, i2);
    }
    ASSERT_EQ(ZQwrite2dSpectrum("big", 5, c.lines, -2, c.length, block.data(), ZQ_INT32), 0);
    std::vector<std::int32_t> back(block.size(), -1);
    ASSERT_EQ(ZQread2dSpectrum("big", 5, c.lines, -2, c.length, back.data(), ZQ_INT32), 0);
    EXPECT_EQ(back, block) << label;

    // An inner block: axis-1 channels 1..lines-2, the second half of axis 2.
    const int count1 = c.lines - 2;
    const int count2 = c.length / 2;
    std::vector<std::int32_t> inner(static_cast<std::size_t>(count1) * count2, -1);
    ASSERT_EQ(ZQread2dSpectrum("big", 6, count1, -2 + count2, count2, inner.data(), ZQ_INT32), 0);
    bool same = true;
    for (int i2 = 0; i2 < count2; ++i2) {
      for (int i1 = 0; i1 < count1; ++i1) {
        same = same && inner[i2 * count1 + i1] == large_count(1 + i1, count2 + i2);
      }
    }
    EXPECT_TRUE(same) << label;
  }
}

TEST_F(StoreTest, MisfitFarIntoALargeBlockIsNamedAndWritesNothing) {
  ASSERT_EQ(ZQcreate2dSpectrum("big", 0, 40, 0, 1000, 0, ZQ_INT16), 0);
  std::vector<std::int32_t> block(40 * 1000, 5);
  ASSERT_EQ(ZQwrite2dSpectrum("big", 0, 40, 0, 1000, block.data(), ZQ_INT32), 0);
  std::vector<std::int32_t> changed(block.size(), 9);
  changed[998 * 40 + 35] = 40000;  // channel (35, 998), in the last piece
  EXPECT_EQ(ZQwrite2dSpectrum("big", 0, 40, 0, 1000, changed.data(), ZQ_INT32), ZQ_ECONVERT);
  EXPECT_TRUE(zq_test::contains(ZQerrorMessage(ZQerrno), "value 40000 for channel (35, 998)"))
      << ZQerrorMessage(ZQerrno);
  std::vector<std::int32_t> back(block.size(), -1);
  ASSERT_EQ(ZQread2dSpectrum("big", 0, 40, 0, 1000, back.data(), ZQ_INT32), 0);
  EXPECT_EQ(back, block);

  back[999 * 40 + 39] = 300;  // channel (39, 999): the very last, which int8 cannot hold
  ASSERT_EQ(ZQwrite2dSpectrum("big", 0, 40, 0, 1000, back.data(), ZQ_INT32), 0);
  std::vector<std::int8_t> small(block.size());
  EXPECT_EQ(ZQread2dSpectrum("big", 0, 40, 0, 1000, small.data(), ZQ_INT8), ZQ_ECONVERT);
  EXPECT_TRUE(zq_test::contains(ZQerrorMessage(ZQerrno), "count 300 at channel (39, 999)"))
      << ZQerrorMessage(ZQerrno);
}

struct ExtentCase {
  int first1, count1, first2, count2;
  int expected;
};

TEST_F(StoreTest, BlocksOutsideTheExtentAreRefused) {
  ASSERT_EQ(ZQcreate2dSpectrum("win", 10, 5, 0, 4, 0, ZQ_INT32), 0);
  std::vector<std::int32_t> buffer(64);
  const ExtentCase cases[] = {
      {10, 5, 0, 4, 0},
      {14, 1, 3, 1, 0},
      {9, 1, 0, 1, ZQ_EEXTENT},
      {15, 1, 0, 1, ZQ_EEXTENT},
      {11, 5, 0, 1, ZQ_EEXTENT},
      {10, 1, 0, 5, ZQ_EEXTENT},
      {10, 1, -1, 1, ZQ_EEXTENT},
      {2147483647, 1, 0, 1, ZQ_EEXTENT},
      {10, -1, 0, 1, ZQ_EBADSHAPE},
      {10, 0, 0, 1, 0},  // an empty block moves nothing
  };
  for (const ExtentCase& c : cases) {
    EXPECT_EQ(
        ZQread2dSpectrum("win", c.first1, c.count1, c.first2, c.count2, buffer.data(), ZQ_INT32),
        c.expected)
        << c.first1 << " " << c.count1 << " " << c.first2 << " " << c.count2;
    EXPECT_EQ(
        ZQwrite2dSpectrum("win", c.first1, c.count1, c.first2, c.count2, buffer.data(), ZQ_INT32),
        c.expected);
  }
}

TEST_F(StoreTest, ExtentMessageNamesSpectrumAxisBlockAndExtent) {
  ASSERT_EQ(ZQcreate2dSpectrum("win", 10, 5, 0, 4, 0, ZQ_INT32), 0);
  std::int32_t buffer[8];
  ASSERT_EQ(ZQread2dSpectrum("win", 10, 1, 2, 8, buffer, ZQ_INT32), ZQ_EEXTENT);
  EXPECT_STREQ(ZQerrorMessage(ZQerrno),
               "block 2..9 on axis 2 outside the extent 0..3 of spectrum 'win'");
}

TEST_F(StoreTest, BlockCallOfTheWrongDimensionIsRefused) {
  ASSERT_EQ(ZQcreate2dSpectrum("flat", 0, 4, 0, 4, 0, ZQ_INT32), 0);
  ASSERT_EQ(ZQcreate1dSpectrum("line", 0, 4, 0, ZQ_INT32), 0);
  std::int32_t buffer[4];
  EXPECT_EQ(ZQread1dSpectrum("flat", 0, 4, buffer, ZQ_INT32), ZQ_EBADSHAPE);
  EXPECT_EQ(ZQwrite2dSpectrum("line", 0, 4, 0, 1, buffer, ZQ_INT32), ZQ_EBADSHAPE);
}

TEST_F(StoreTest, BadBufferTypeAndNullBufferAreRefused) {
  ASSERT_EQ(ZQcreate1dSpectrum("line", 0, 4, 0, ZQ_INT32), 0);
  std::int32_t buffer[4];
  EXPECT_EQ(ZQread1dSpectrum("line", 0, 4, buffer, 7), ZQ_EBADTYPE);
  EXPECT_EQ(ZQwrite1dSpectrum("line", 0, 4, buffer, -1), ZQ_EBADTYPE);
  EXPECT_EQ(ZQread1dSpectrum("line", 0, 4, nullptr, ZQ_INT32), ZQ_EBADARG);
}

TEST_F(StoreTest, ValueThatDoesNotFitTheStoredTypeFailsAndWritesNothing) {
  ASSERT_EQ(ZQcreate1dSpectrum("small", 0, 3, 0, ZQ_UINT8), 0);
  const std::int32_t good[3] = {1, 2, 3};
  ASSERT_EQ(ZQwrite1dSpectrum("small", 0, 3, good, ZQ_INT32), 0);
  const std::int32_t bad[3] = {10, 256, 30};
  EXPECT_EQ(ZQwrite1dSpectrum("small", 0, 3, bad, ZQ_INT32), ZQ_ECONVERT);
  EXPECT_TRUE(zq_test::contains(ZQerrorMessage(ZQerrno), "value 256 for channel 1"))
      << ZQerrorMessage(ZQerrno);
  std::int32_t back[3];
  ASSERT_EQ(ZQread1dSpectrum("small", 0, 3, back, ZQ_INT32), 0);
  EXPECT_EQ(std::vector<std::int32_t>(back, back + 3), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST_F(StoreTest, CountThatDoesNotFitTheBufferTypeFailsTheRead) {
  ASSERT_EQ(ZQcreate2dSpectrum("big", 0, 2, 5, 2, 0, ZQ_UINT32), 0);
  const std::uint32_t counts[4] = {1, 2, 3, 4000000000u};
  ASSERT_EQ(ZQwrite2dSpectrum("big", 0, 2, 5, 2, counts, ZQ_UINT32), 0);
  std::int32_t back[4];
  EXPECT_EQ(ZQread2dSpectrum("big", 0, 2, 5, 2, back, ZQ_INT32), ZQ_ECONVERT);
  EXPECT_TRUE(zq_test::contains(ZQerrorMessage(ZQerrno), "count 4000000000 at channel (1, 6)"))
      << ZQerrorMessage(ZQerrno);
  EXPECT_EQ(ZQread2dSpectrum("big", 0, 2, 5, 1, back, ZQ_INT32), 0);
}

TEST_F(StoreTest, RealCountsRoundHalfAwayFromZeroIntoIntegers) {
  ASSERT_EQ(ZQcreate1dSpectrum("real", 0, 4, 0, ZQ_FLOAT32), 0);
  const float counts[4] = {0.5f, -0.5f, 2.25f, 1e10f};
  ASSERT_EQ(ZQwrite1dSpectrum("real", 0, 4, counts, ZQ_FLOAT32), 0);
  std::int32_t back[3];
  ASSERT_EQ(ZQread1dSpectrum("real", 0, 3, back, ZQ_INT32), 0);
  EXPECT_EQ(std::vector<std::int32_t>(back, back + 3), (std::vector<std::int32_t>{1, -1, 2}));
  EXPECT_EQ(ZQread1dSpectrum("real", 3, 1, back, ZQ_INT32), ZQ_ECONVERT);
}

TEST_F(StoreTest, ReadingNeverChangesTheFile) {
  ASSERT_EQ(ZQcreate1dSpectrum("src", 0, 8, 0, ZQ_INT32), 0);
  const auto file = dir_.path() / "src.h5";
  const auto contents = [&] {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string before = contents();
  const auto stamp = std::filesystem::last_write_time(file);
  std::int32_t buffer[8];
  char record[ZQ_RECORD_SIZE];
  int dim, bases[8], ranges[8], layout, type;
  EXPECT_EQ(ZQread1dSpectrum("src", 0, 8, buffer, ZQ_INT32), 0);
  EXPECT_EQ(ZQreadCalibration("src", 1, record), 0);
  EXPECT_EQ(ZQinquireSpectrum("src", &dim, bases, ranges, &layout, &type), 0);
  EXPECT_EQ(contents(), before);
  EXPECT_EQ(std::filesystem::last_write_time(file), stamp);
}

}  // namespace
