// flatcorr and binshrink: the flattening weight, the channel summing, and the programs run
// against a scratch experiment.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "spectools/binshrink/squash.h"
#include "spectools/flatcorr/flat_weight.h"
#include "tool_fixture.h"

namespace {

using spectools::binshrink::squashColumn;
using spectools::binshrink::squashed_channels;
using spectools::flatcorr::flattened;
using spectools::flatcorr::flatWeight;
using spectools::flatcorr::require_positive_weights;

TEST(FlatWeight, ParabolaAroundTheMiddleOfAxisTwo) {
  struct Case {
    int row;
    float weight;
    std::int32_t corrected;  // of a count of 100
  };
  const Case cases[] = {
      {0, 0.925655f, 108}, {59, 0.999995f, 100}, {60, 0.999995f, 100}, {118, 0.928133f, 108}};
  for (const Case& c : cases) {
    const float weight = flatWeight(c.row, 119);
    EXPECT_NEAR(weight, c.weight, 1e-6) << c.row;
    EXPECT_EQ(flattened(100, weight), c.corrected) << c.row;
    EXPECT_EQ(flattened(0, weight), 0);
  }
  EXPECT_EQ(flattened(-100, flatWeight(0, 119)), -107);  // -108.03 + 0.5 toward zero
}

TEST(FlatWeight, WeightAtOrBelowZeroIsRefused) {
  EXPECT_NO_THROW(require_positive_weights(0, 436));  // ends 218 channels from the middle
  try {
    require_positive_weights(0, 500);
    FAIL();
  } catch (const std::domain_error& error) {
    EXPECT_STREQ(error.what(), "intensity weight -0.3125 of row 0 is not above zero");
  }
  // The weight uses absolute row numbers: a far-off base leaves the parabola.
  EXPECT_THROW(require_positive_weights(300, 119), std::domain_error);
}

TEST(FlatWeight, CorrectedCountBeyondThirtyTwoBitsIsRefused) {
  EXPECT_THROW(flattened(2000000000, 0.5f), std::range_error);
}

std::vector<std::int32_t> squash(const std::vector<std::int32_t>& column, int factor) {
  std::vector<std::int32_t> out(
      static_cast<std::size_t>(squashed_channels(static_cast<int>(column.size()), factor)));
  squashColumn(column, out, factor);
  return out;
}

TEST(Squash, GroupsOfAdjacentChannelsAreSummed) {
  const std::vector<std::int32_t> ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(squash(ten, 3), (std::vector<std::int32_t>{6, 15, 24}));  // channel 9 dropped
  EXPECT_EQ(squash(ten, 1), ten);
  EXPECT_EQ(squash(ten, 10), (std::vector<std::int32_t>{55}));
  EXPECT_TRUE(squash(ten, 11).empty());
  EXPECT_EQ(squash({-5, 2, 7, 1}, 2), (std::vector<std::int32_t>{-3, 8}));
  EXPECT_THROW(squash({2000000000, 2000000000}, 2), std::range_error);
}

class IntensityRun : public tool_test::ToolProcessTest {};

TEST_F(IntensityRun, FlatcorrLiftsTheEndsOfAxisTwo) {
  // 700 columns of 119 channels: the counts move in two blocks of columns.
  make(
      "win", {0, 0}, {700, 119}, [](int i1, int) { return i1 == 699 ? 0 : 100; }, 2, ZQ_UINT16);
  ASSERT_EQ(ZQwriteCalibration("win", 2, "Energy keV 2 1980.0 0.336134"), 0);
  const tool_test::Outcome outcome = run("flatcorr", {"win", "flat"});
  EXPECT_EQ(outcome.status, 0) << outcome.out;
  EXPECT_EQ(outcome.out, "spectrum win corrected for intensity to flat\n");
  const tool_test::Spectrum flat = read("flat");
  EXPECT_EQ(flat.ranges, (std::array<int, 2>{700, 119}));
  EXPECT_EQ(flat.layout, 2);
  EXPECT_EQ(flat.type, ZQ_UINT16);
  for (const auto& [row, count] : {std::pair{0, 108}, {59, 100}, {60, 100}, {118, 108}}) {
    EXPECT_EQ(flat.at(0, row), count) << row;
  }
  for (int row = 0; row < 119; ++row) {
    const std::int32_t count = flattened(100, flatWeight(row, 119));
    EXPECT_EQ(flat.at(0, row), count) << row;
    EXPECT_EQ(flat.at(698, row), count) << row;
    EXPECT_EQ(flat.at(699, row), 0) << row;
  }
  EXPECT_EQ(calibration("flat", 2), "Energy keV 2 1980.0 0.336134");
}

TEST_F(IntensityRun, FlatcorrRefusesAnAxisBeyondTheParabola) {
  make("long", {0, 0}, {2, 500}, [](int, int) { return 1; });
  const tool_test::Outcome outcome = run("flatcorr", {"long", "flat"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "intensity weight -0.3125 of row 0 is not above zero\n");
  EXPECT_FALSE(exists("flat"));
}

TEST_F(IntensityRun, BinshrinkFactorForms) {
  struct Case {
    std::vector<std::string> extra;  // arguments after the two names
    int factor;
  };
  const Case cases[] = {
      {{}, 2}, {{"3"}, 3}, {{"0x4"}, 4}, {{"010"}, 8}, {{"5", "ignored"}, 2},
  };
  for (const Case& c : cases) {
    make("scan", {-2, 10}, {2, 24}, [](int i1, int i2) { return i1 + 3 + i2; });
    std::vector<std::string> args = {"scan", "sq"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const tool_test::Outcome outcome = run("binshrink", args);
    EXPECT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_EQ(outcome.out,
              "spectrum scan squashed by a factor of " + std::to_string(c.factor) + "\n");
    const tool_test::Spectrum sq = read("sq");
    EXPECT_EQ(sq.bases, (std::array<int, 2>{-2, 10}));
    ASSERT_EQ(sq.ranges, (std::array<int, 2>{2, 24 / c.factor}));
    for (int k = 0; k < sq.ranges[1]; ++k) {
      std::int32_t sum = 0;
      for (int f = 0; f < c.factor; ++f) sum += -2 + 3 + 10 + k * c.factor + f;
      EXPECT_EQ(sq.at(-2, 10 + k), sum) << c.factor << " " << k;
    }
  }
}

TEST_F(IntensityRun, BinshrinkOverSeveralBlocksMatchesColumnByColumn) {
  // 600 columns of 250 channels: blocks of 262 columns, the last one short.
  const auto count = [](int i1, int i2) { return (i1 * 37 + i2 * 11) % 1000 - 200; };
  make("scan", {-7, 3}, {600, 250}, count);
  ASSERT_EQ(run("binshrink", {"scan", "sq", "4"}).status, 0);
  const tool_test::Spectrum sq = read("sq");
  ASSERT_EQ(sq.ranges, (std::array<int, 2>{600, 62}));
  std::vector<std::int32_t> column(250);
  std::vector<std::int32_t> squashed(62);
  for (int i1 = -7; i1 < 593; ++i1) {
    for (int k = 0; k < 250; ++k) column[static_cast<std::size_t>(k)] = count(i1, 3 + k);
    squashColumn(column, squashed, 4);
    for (int k = 0; k < 62; ++k) {
      ASSERT_EQ(sq.at(i1, 3 + k), squashed[static_cast<std::size_t>(k)]) << i1 << " " << k;
    }
  }
}

TEST_F(IntensityRun, BinshrinkDropsThePartialGroupAndRescalesAxisTwo) {
  make("scan", {0, 0}, {1, 10}, [](int, int i2) { return i2; });
  ASSERT_EQ(ZQwriteCalibration("scan", 1, "Angle deg 2 10 1"), 0);
  ASSERT_EQ(ZQwriteCalibration("scan", 2, "Energy keV 2 100.0 0.5"), 0);
  ASSERT_EQ(run("binshrink", {"scan", "sq", "3"}).status, 0);
  const tool_test::Spectrum sq = read("sq");
  EXPECT_EQ(sq.counts, (std::vector<std::int32_t>{3, 12, 21}));
  EXPECT_EQ(calibration("sq", 1), "Angle deg 2 10 1");
  EXPECT_EQ(calibration("sq", 2), "Energy keV 2 100.000000 1.500000");
}

TEST_F(IntensityRun, BinshrinkFactorBelowOneIsRefused) {
  make("scan", {0, 0}, {1, 10}, [](int, int) { return 1; });
  for (const std::string factor : {"0", "-3", "0x0"}) {
    const tool_test::Outcome outcome = run("binshrink", {"scan", "sq", factor});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out,
              "factor " + std::to_string(std::stoi(factor, nullptr, 0)) + " is below 1\n");
    EXPECT_FALSE(exists("sq"));
  }
  const tool_test::Outcome word = run("binshrink", {"scan", "sq", "two"});
  EXPECT_EQ(word.status, 1);
  EXPECT_EQ(word.out, "Usage: binshrink from_spec to_spec factor\n");
}

}  // namespace
