// histsum as a process: stitching at calibrated positions, overwriting, rebinning, any
// number of inputs, the merged calibration and the records of the first input, and every
// refusal before the target exists.
#include <numeric>

#include "tool_fixture.h"

namespace {

using namespace tool_test;
using spectools::RecordKind;

class Histsum : public ToolProcessTest {
 protected:
  void make_calibrated_line(const std::string& name, const Counts& counts,
                            const std::string& calibration) {
    make_line(name, 0, counts);
    if (!calibration.empty()) set_record(RecordKind::calibration, name, 1, calibration);
  }
  void make_calibrated_plane(const std::string& name, int count1, const Counts& counts,
                             const std::string& angle, const std::string& energy) {
    make_plane(name, 0, 0, count1, counts);
    set_record(RecordKind::calibration, name, 1, angle);
    set_record(RecordKind::calibration, name, 2, energy);
  }
};

Counts ramp(int channels, int first) {
  Counts counts(static_cast<std::size_t>(channels));
  std::iota(counts.begin(), counts.end(), first);
  return counts;
}

TEST_F(Histsum, AdjacentInputsAreStitchedAtTheirCalibratedPositions) {
  make_line("low", 0, ramp(100, 1), ZQ_UINT16, 6);
  set_record(RecordKind::calibration, "low", 1, "Energy keV 2 0.0 1.0");
  set_record(RecordKind::information, "low", 1, "low run");
  set_record(RecordKind::annotation, "low", 1, "energy");
  set_record(RecordKind::efficiency, "low", 1, "flat");
  make_calibrated_line("high", ramp(100, 1001), "Channel eV 7 100.0 1.0");
  set_record(RecordKind::information, "high", 2, "high run");

  const Outcome outcome = run("histsum", {"low", "high", "sum"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output(), "merged spectra into spectrum sum\n");
  const spectools::Shape shape = shape_of("sum");
  EXPECT_EQ(shape.dim, 1);
  EXPECT_EQ(shape.bases[0], 0);
  EXPECT_EQ(shape.ranges[0], 200);
  EXPECT_EQ(shape.type, ZQ_UINT16);
  EXPECT_EQ(shape.layout, 6);
  Counts expected = ramp(100, 1);
  const Counts high = ramp(100, 1001);
  expected.insert(expected.end(), high.begin(), high.end());
  EXPECT_EQ(counts_of("sum"), expected);
  // The words of the last record parsed, the integer 2, the lowest offset, the slope.
  EXPECT_EQ(record(RecordKind::calibration, "sum", 1), "Channel eV 2 0.000000 1.000000");
  // Other records come from the first input only.
  EXPECT_EQ(record(RecordKind::information, "sum", 1), "low run");
  EXPECT_EQ(record(RecordKind::information, "sum", 2), "");
  EXPECT_EQ(record(RecordKind::annotation, "sum", 1), "energy");
  EXPECT_EQ(record(RecordKind::efficiency, "sum", 1), "flat");
}

TEST_F(Histsum, LaterInputsOverwriteAndGapsStayZero) {
  make_calibrated_line("a", Counts(10, 1), "Energy keV 2 0 1");
  make_calibrated_line("b", Counts(10, 2), "Energy keV 2 5 1");
  make_calibrated_line("c", Counts(2, 3), "Energy keV 2 18 1");
  ASSERT_EQ(run("histsum", {"a", "b", "c", "sum"}).status, 0);
  EXPECT_EQ(counts_of("sum"), (Counts{1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 0, 3, 3}));
}

TEST_F(Histsum, UncalibratedLineGoesWhereThePreviousInputWent) {
  make_calibrated_line("a", {1, 2, 3}, "Energy keV 2 0 1");
  make_calibrated_line("b", {4, 5, 6}, "Energy keV 2 5 1");
  make_calibrated_line("c", {9, 9}, "");
  ASSERT_EQ(run("histsum", {"a", "b", "c", "sum"}).status, 0);
  EXPECT_EQ(counts_of("sum"), (Counts{1, 2, 3, 0, 0, 9, 9, 6}));
}

TEST_F(Histsum, SingleInputIsReproduced) {
  make_calibrated_line("line", {5, 0, 7, 2}, "Energy keV 2 10 0.5");
  ASSERT_EQ(run("histsum", {"line", "one"}).status, 0);
  EXPECT_EQ(counts_of("one"), (Counts{5, 0, 7, 2}));
  EXPECT_EQ(record(RecordKind::calibration, "one", 1), "Energy keV 2 10.000000 0.500000");

  const Counts plane = ramp(12, 0);
  make_calibrated_plane("plane", 3, plane, "Angle deg 2 1 0.25", "Energy keV 2 50 2");
  ASSERT_EQ(run("histsum", {"plane", "two"}).status, 0);
  EXPECT_EQ(shape_of("two").ranges[0], 3);
  EXPECT_EQ(shape_of("two").ranges[1], 4);
  EXPECT_EQ(counts_of("two"), plane);
}

TEST_F(Histsum, LineWithASmallerSlopeIsRebinned) {
  // 0..20 keV in 2 keV channels, then 20..30 keV in 1 keV channels: five merged channels.
  make_calibrated_line("coarse", ramp(10, 1), "Energy keV 2 0 2");
  make_calibrated_line("fine", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "Energy keV 2 20 1");
  ASSERT_EQ(run("histsum", {"coarse", "fine", "sum"}).status, 0);
  EXPECT_EQ(counts_of("sum"), (Counts{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 3, 7, 11, 15, 19}));
  EXPECT_EQ(record(RecordKind::calibration, "sum", 1), "Energy keV 2 0.000000 2.000000");

  // Start and end both round up: the input still ends on the last merged channel.
  make_calibrated_line("two", {1, 1}, "Energy keV 2 0 2");
  make_calibrated_line("three", {4, 5, 6}, "Energy keV 2 1 1");
  ASSERT_EQ(run("histsum", {"two", "three", "sum"}).status, 0);
  EXPECT_EQ(counts_of("sum"), (Counts{1, 15}));
}

TEST_F(Histsum, PlanesAreStitchedAndTheUncoveredFarCornerIsZero) {
  // 2 x 2 at angle 0..2, energy 0..2; then 2 x 1 at angle 2..4, energy 0..1.
  make_calibrated_plane("left", 2, {1, 2, 3, 4}, "Angle deg 2 0 1", "Energy keV 2 0 1");
  make_calibrated_plane("right", 2, {5, 6}, "Angle deg 2 2 1", "Energy keV 2 0 1");
  ASSERT_EQ(run("histsum", {"left", "right", "sum"}).status, 0);
  const spectools::Shape shape = shape_of("sum");
  EXPECT_EQ(shape.ranges[0], 4);
  EXPECT_EQ(shape.ranges[1], 2);
  EXPECT_EQ(counts_of("sum"), (Counts{1, 2, 5, 6, 3, 4, 0, 0}));
  EXPECT_EQ(record(RecordKind::calibration, "sum", 1), "Energy deg 2 0.000000 1.000000");
  EXPECT_EQ(record(RecordKind::calibration, "sum", 2), "Energy keV 2 0.000000 1.000000");
}

TEST_F(Histsum, PlaneColumnsAreRebinnedAlongTheEnergyAxis) {
  // A column of four 1 keV channels and one of two 2 keV channels above it.
  make_calibrated_plane("fine", 1, {1, 2, 3, 4}, "Angle deg 2 0 1", "Energy keV 2 0 1");
  make_calibrated_plane("coarse", 1, {10, 20}, "Angle deg 2 1 1", "Energy keV 2 4 2");
  ASSERT_EQ(run("histsum", {"fine", "coarse", "sum"}).status, 0);
  EXPECT_EQ(shape_of("sum").ranges[0], 2);
  EXPECT_EQ(shape_of("sum").ranges[1], 4);
  EXPECT_EQ(counts_of("sum"), (Counts{3, 0, 7, 0, 0, 10, 0, 20}));
  EXPECT_EQ(record(RecordKind::calibration, "sum", 2), "Energy keV 2 0.000000 2.000000");
}

TEST_F(Histsum, AnyNumberOfInputsIsTaken) {
  std::vector<std::string> args;
  Counts expected;
  for (int i = 0; i < 35; ++i) {
    const std::string name = "part" + std::to_string(i);
    make_calibrated_line(name, {i + 1}, "Energy keV 2 " + std::to_string(i) + " 1");
    args.push_back(name);
    expected.push_back(i + 1);
  }
  args.push_back("sum");
  const Outcome outcome = run("histsum", args);
  ASSERT_EQ(outcome.status, 0) << outcome.output();
  EXPECT_EQ(counts_of("sum"), expected);
}

TEST_F(Histsum, RefusalsComeBeforeTheTargetExists) {
  make_calibrated_line("a", {1, 2}, "Energy keV 2 0 1");
  make_calibrated_line("bare", {1, 2}, "");
  make_calibrated_line("flat", {1, 2}, "Energy keV 2 0 0");
  make_calibrated_plane("plane", 1, {1, 2}, "Angle deg 2 0 1", "Energy keV 2 0 1");
  const Refusal refusals[] = {
      {{"a"}, "Usage: histsum fromspec [fromspec ...] tospec\n"},
      {{"a", "nope", "sum"}, "no such spectrum 'nope': nope\n"},
      {{"a", "sum", "a"}, "target spectrum a is also a source spectrum\n"},
      {{"a", "plane", "sum"}, "spectra have different dimensions\n"},
      {{"bare", "sum"}, "no input spectrum has a usable calibration on axis 1\n"},
      {{"a", "flat", "sum"}, "calibration slope of spectrum flat on axis 1 is not positive\n"},
  };
  expect_refusals("histsum", refusals, "sum");
  EXPECT_EQ(counts_of("a"), (Counts{1, 2}));
}

}  // namespace
