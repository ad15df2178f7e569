// histcopy: the complement against the largest count, in process and as a pure function;
// shape, type, layout and records carried over; every failure one line and exit status 1.
#include <climits>
#include <stdexcept>

#include "spectools/histcopy/complement.h"
#include "tool_fixture.h"

namespace {

using namespace tool_test;
using spectools::RecordKind;
using spectools::histcopy::complement_counts;

TEST(Complement, AgainstTheLargestCountFromZero) {
  struct Case {
    Counts counts;
    Counts expected;
  };
  const Case cases[] = {
      {{3, 7, 5}, {4, 0, 2}},
      {{0, 0, 0}, {0, 0, 0}},
      {{-2, -5}, {2, 5}},  // maximum stays 0 below zero
      {{-1, 4}, {5, 0}},
      {{INT_MAX, 0}, {0, INT_MAX}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    Counts counts = c.counts;
    complement_counts(counts);
    EXPECT_EQ(counts, c.expected);
  }
}

TEST(Complement, OverflowIsRefusedAndLeavesTheCounts) {
  for (const Counts& original : {Counts{INT_MAX, -1}, Counts{INT_MIN}}) {
    Counts counts = original;
    EXPECT_THROW(complement_counts(counts), std::overflow_error);
    EXPECT_EQ(counts, original);
  }
}

using Histcopy = ToolProcessTest;

TEST_F(Histcopy, OneDimensionalCopyKeepsShapeTypeLayoutAndRecords) {
  make_line("src", 5, {3, 7, 5}, ZQ_UINT16, 9);
  set_record(RecordKind::information, "src", 1, "sample Au(111)");
  set_record(RecordKind::information, "src", 3, "beam He+ 100 keV");
  set_record(RecordKind::annotation, "src", 1, "energy");
  set_record(RecordKind::calibration, "src", 1, "Energy keV 2 100.0 0.5");
  set_record(RecordKind::efficiency, "src", 1, "flat");

  const Outcome outcome = run("histcopy", {"src", "dst"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output(), "copied spectrum src to spectrum dst\n");
  const spectools::Shape shape = shape_of("dst");
  EXPECT_EQ(shape.dim, 1);
  EXPECT_EQ(shape.bases[0], 5);
  EXPECT_EQ(shape.ranges[0], 3);
  EXPECT_EQ(shape.type, ZQ_UINT16);
  EXPECT_EQ(shape.layout, 9);
  EXPECT_EQ(counts_of("dst"), (Counts{4, 0, 2}));
  EXPECT_EQ(counts_of("src"), (Counts{3, 7, 5}));
  for (int number = 1; number <= spectools::kInformationRecords; ++number) {
    EXPECT_EQ(record(RecordKind::information, "dst", number),
              record(RecordKind::information, "src", number));
  }
  EXPECT_EQ(record(RecordKind::annotation, "dst", 1), "energy");
  EXPECT_EQ(record(RecordKind::calibration, "dst", 1), "Energy keV 2 100.0 0.5");
  EXPECT_EQ(record(RecordKind::efficiency, "dst", 1), "flat");
}

TEST_F(Histcopy, TwoDimensionalCopyComplementsTheWholeBlock) {
  make_plane("src", -2, 4, 3, {1, 2, 3, 4, 5, 9});
  set_record(RecordKind::calibration, "src", 2, "Energy keV 2 10.0 1.0");
  ASSERT_EQ(run("histcopy", {"src", "dst"}).status, 0);
  const spectools::Shape shape = shape_of("dst");
  EXPECT_EQ(shape.dim, 2);
  EXPECT_EQ(shape.bases[0], -2);
  EXPECT_EQ(shape.bases[1], 4);
  EXPECT_EQ(counts_of("dst"), (Counts{8, 7, 6, 5, 4, 0}));
  EXPECT_EQ(record(RecordKind::calibration, "dst", 1), "");
  EXPECT_EQ(record(RecordKind::calibration, "dst", 2), "Energy keV 2 10.0 1.0");
}

TEST_F(Histcopy, FailuresPrintOneLineAndLeaveNoTarget) {
  make_line("src", 0, {1, 2});
  make_line("wide", 0, {INT_MAX, -1});
  const Refusal refusals[] = {
      {{"src"}, "Usage: histcopy fromspec tospec\n"},
      {{"src", "dst", "extra"}, "Usage: histcopy fromspec tospec\n"},
      {{"nope", "dst"}, "no such spectrum 'nope': nope\n"},
      {{"src", "src"}, "target spectrum src is also a source spectrum\n"},
      {{"wide", "dst"},
       "complement of count -1 against the largest count 2147483647 does not fit a 32-bit "
       "count\n"},
  };
  expect_refusals("histcopy", refusals, "dst");
  EXPECT_EQ(counts_of("src"), (Counts{1, 2}));
}

TEST_F(Histcopy, ComplementBeyondTheStoredTypeFailsInTheStore) {
  make_line("small", 0, {-100, 100}, ZQ_INT8);
  const Outcome outcome = run("histcopy", {"small", "dst"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.output(),
            "value 200 for channel 0 does not fit type int8 of spectrum 'dst': dst\n");
}

}  // namespace
