// histsum's pure parts: proportion and rebinColumn, the merged axes and the placements.
#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "spectools/histsum/merge_plan.h"
#include "spectools/histsum/rebin.h"

namespace {

using namespace spectools::histsum;
using spectools::Calibration;
using Counts = std::vector<std::int32_t>;

TEST(Proportion, ShareRoundedHalfUpThenTruncatedTowardZero) {
  struct Case {
    std::int32_t count;
    double fraction;
    std::int64_t share;
  };
  const Case cases[] = {{10, 0.5, 5}, {3, 0.5, 2},   {1, 0.49, 0},
                        {7, 0.0, 0},  {-3, 1.0, -2}, {INT_MAX, 1.0, INT_MAX}};
  for (const Case& c : cases) EXPECT_EQ(proportion(c.count, c.fraction), c.share) << c.count;
}

TEST(RebinColumn, SpreadsCountsByOverlap) {
  struct Case {
    Counts source;
    std::size_t n_dst;
    Counts expected;
  };
  const Case cases[] = {
      {{1, 2, 3, 4}, 4, {1, 2, 3, 4}},        // same count: unchanged
      {{0, INT_MAX, 5}, 3, {0, INT_MAX, 5}},  //
      {{1, 2, 3, 4}, 2, {3, 7}},              // pairs summed
      {{6, 6, 6}, 2, {9, 9}},                 // the middle channel split in halves
      {{9}, 3, {3, 3, 3}},                    // one channel over three
      {{10}, 3, {3, 3, 3}},                   // each share rounded by itself
      {{1, 2, 3}, 0, {}},                     //
  };
  for (const Case& c : cases) EXPECT_EQ(rebinColumn(c.source, c.n_dst), c.expected);
}

TEST(RebinColumn, SumBeyondThirtyTwoBitsIsRefused) {
  EXPECT_THROW(rebinColumn(Counts{INT_MAX, INT_MAX}, 1), std::overflow_error);
}

MergeInput line(const std::string& name, int base, int channels,
                std::optional<Calibration> calibration) {
  MergeInput input{name, {}, {calibration, std::nullopt}};
  input.shape.dim = 1;
  input.shape.bases[0] = base;
  input.shape.ranges[0] = channels;
  return input;
}

Calibration energy(double offset, double slope) {
  return Calibration{"Energy", "keV", 2, offset, slope};
}

TEST(MergePlan, AdjacentInputsSpanTheirUnion) {
  const std::vector<MergeInput> inputs = {line("a", 0, 100, energy(0, 1)),
                                          line("b", 0, 100, Calibration{"E", "eV", 5, 100, 1}),
                                          line("c", 0, 7, std::nullopt)};
  const MergePlan plan = plan_merge(inputs, 1);
  EXPECT_EQ(channel_count(plan, 0), 200);
  const Calibration merged = target_calibration(plan, 0);
  EXPECT_EQ(format_calibration(merged), "E eV 2 0.000000 1.000000");
  EXPECT_EQ(place_line(plan, inputs[0], 0).placement.position, 0);
  EXPECT_EQ(place_line(plan, inputs[1], 0).placement.position, 100);
  // Without a calibration an input goes where the one before it went.
  const LinePlacement uncalibrated = place_line(plan, inputs[2], 100);
  EXPECT_EQ(uncalibrated.placement.position, 100);
  EXPECT_EQ(uncalibrated.placement.span, 7);
  EXPECT_FALSE(uncalibrated.rebinned);
}

TEST(MergePlan, SmallerSlopeIsRebinnedToEndAtItsCalibratedEnd) {
  struct Case {
    Calibration second;
    int channels;
    int merged_channels;
    Placement placement;
  };
  // The first input covers 0..20 keV in 10 channels of 2 keV.
  const Case cases[] = {
      {energy(20, 1), 10, 15, {10, 5}},
      {energy(1, 1), 3, 10, {1, 1}},  // start and end both round up: still inside
      {energy(0, 0.1), 4, 10, {0, 0}},
  };
  for (const Case& c : cases) {
    const std::vector<MergeInput> inputs = {line("a", 0, 10, energy(0, 2)),
                                            line("b", 0, c.channels, c.second)};
    const MergePlan plan = plan_merge(inputs, 1);
    EXPECT_EQ(channel_count(plan, 0), c.merged_channels);
    const LinePlacement at = place_line(plan, inputs[1], 0);
    EXPECT_TRUE(at.rebinned);
    EXPECT_EQ(at.placement.position, c.placement.position) << c.second.offset;
    EXPECT_EQ(at.placement.span, c.placement.span) << c.second.offset;
  }
}

TEST(MergePlan, TwoDimensionalPlacementAndSharedFirstWord) {
  MergeInput wide{"wide", {}, {Calibration{"Angle", "deg", 2, 0, 1}, energy(0, 1)}};
  wide.shape.dim = 2;
  wide.shape.ranges = {2, 4};
  MergeInput coarse{"coarse", {}, {Calibration{"Angle", "deg", 2, 1, 1}, energy(4, 2)}};
  coarse.shape.dim = 2;
  coarse.shape.ranges = {1, 2};
  const MergePlan plan = plan_merge({wide, coarse}, 2);
  EXPECT_EQ(channel_count(plan, 0), 2);
  EXPECT_EQ(channel_count(plan, 1), 4);
  // The first word is the one of the last record parsed, on any axis.
  EXPECT_EQ(format_calibration(target_calibration(plan, 0)), "Energy deg 2 0.000000 1.000000");
  EXPECT_EQ(format_calibration(target_calibration(plan, 1)), "Energy keV 2 0.000000 2.000000");
  const Placement wide_energy = place(plan, wide, 1);
  EXPECT_EQ(wide_energy.position, 0);
  EXPECT_EQ(wide_energy.span, 2);
  const Placement coarse_angle = place(plan, coarse, 0);
  EXPECT_EQ(coarse_angle.position, 1);
  const Placement coarse_energy = place(plan, coarse, 1);
  EXPECT_EQ(coarse_energy.position, 2);
  EXPECT_EQ(coarse_energy.span, 2);
}

// The message a refused plan gives.
std::string refusal(const std::vector<MergeInput>& inputs) {
  try {
    plan_merge(inputs, 1);
  } catch (const std::domain_error& error) {
    return error.what();
  }
  return "";
}

TEST(MergePlan, UnplaceableMergesAreRefused) {
  EXPECT_EQ(refusal({line("a", 0, 5, std::nullopt)}),
            "no input spectrum has a usable calibration on axis 1");
  EXPECT_EQ(refusal({line("a", 0, 5, energy(0, 1)), line("b", 0, 5, energy(5, 0))}),
            "calibration slope of spectrum b on axis 1 is not positive");
  EXPECT_EQ(refusal({line("a", 0, 5, energy(0, -1))}),
            "calibration slope of spectrum a on axis 1 is not positive");
  const MergePlan far =
      plan_merge({line("a", 0, 5, energy(0, 1)), line("b", 0, 5, energy(1e10, 1))}, 1);
  EXPECT_THROW(channel_count(far, 0), std::range_error);
}

}  // namespace
