// regioncopy: the window arguments, the copy to channel 0 and the calibration shift; windows
// outside the source fail in the store's extent check and leave no target.
#include <numeric>

#include "spectools/frame/tool_exit.h"
#include "spectools/frame/usage.h"
#include "spectools/regioncopy/window.h"
#include "tool_fixture.h"

namespace {

using namespace tool_test;
using namespace spectools::regioncopy;
using spectools::RecordKind;

TEST(RegionWindows, ArgumentsGiveAxisOneThenAxisTwo) {
  const auto& usage = spectools::usage_of("regioncopy");
  const char* argv[] = {"regioncopy", "a", "b", "10", "5", "-3", "7"};
  struct Case {
    int argc;
    bool axis1;
    bool axis2;
  };
  for (const Case c : {Case{3, false, false}, Case{4, false, false}, Case{5, true, false},
                       Case{6, true, false}, Case{7, true, true}}) {
    const RequestedWindows windows = requested_windows(c.argc, argv, usage);
    ASSERT_EQ(windows[0].has_value(), c.axis1) << c.argc;
    ASSERT_EQ(windows[1].has_value(), c.axis2) << c.argc;
    if (c.axis1) {
      EXPECT_EQ(windows[0]->first, 10);
      EXPECT_EQ(windows[0]->count, 5);
    }
    if (c.axis2) {
      EXPECT_EQ(windows[1]->first, -3);
      EXPECT_EQ(windows[1]->count, 7);
    }
  }
  const char* bad[] = {"regioncopy", "a", "b", "10", "5x"};
  try {
    requested_windows(5, bad, usage);
    FAIL() << "a window count that is not a number was taken";
  } catch (const spectools::ToolExit& exit) {
    EXPECT_EQ(exit.output(), "Usage: regioncopy fromspec tospec [base range [base range]]\n");
  }
}

TEST(RegionWindows, UngivenAxesTakeTheWholeSourceAxis) {
  spectools::Shape source;
  source.dim = 2;
  source.bases = {4, -2};
  source.ranges = {8, 6};
  const auto windows = resolve_windows({Window{5, 2}, std::nullopt}, source, "s");
  EXPECT_EQ(windows[0].first, 5);
  EXPECT_EQ(windows[0].count, 2);
  EXPECT_EQ(windows[1].first, -2);
  EXPECT_EQ(windows[1].count, 6);
  source.dim = 1;
  EXPECT_THROW(resolve_windows({Window{5, 2}, Window{0, 1}}, source, "s"), spectools::ToolExit);
}

TEST(RegionWindows, CalibrationOffsetMovesToTheWindowStart) {
  struct Case {
    std::string record;
    int first;
    int base;
    std::string shifted;
  };
  const Case cases[] = {
      {"Energy keV 2 100 2", 10, 0, "Energy keV 2 120.000000 2.000000"},
      {"Energy keV 2 100 2", 3, 5, "Energy keV 2 96.000000 2.000000"},
      {"Angle deg 7 -12.5 0.25 rest", 2, 0, "Angle deg 7 -12.000000 0.250000"},
      {"Energy keV", 10, 0, "Energy keV"},
      {"not a calibration", 10, 0, "not a calibration"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shifted_calibration(c.record, c.first, c.base), c.shifted) << c.record;
  }
}

class Regioncopy : public ToolProcessTest {
 protected:
  // 30 channels counting 0..29 from channel 0, calibrated 100 keV + 2 keV per channel.
  void SetUp() override {
    ToolProcessTest::SetUp();
    Counts counts(30);
    std::iota(counts.begin(), counts.end(), 0);
    make_line("src", 0, counts, ZQ_UINT16, 3);
    set_record(RecordKind::calibration, "src", 1, "Energy keV 2 100.0 2.0");
    set_record(RecordKind::information, "src", 2, "run 17");
  }
};

TEST_F(Regioncopy, WindowGoesToChannelZeroWithShiftedCalibration) {
  const Outcome outcome = run("regioncopy", {"src", "dst", "10", "10"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output(), "copied spectrum src to spectrum dst\n");
  const spectools::Shape shape = shape_of("dst");
  EXPECT_EQ(shape.dim, 1);
  EXPECT_EQ(shape.bases[0], 0);
  EXPECT_EQ(shape.ranges[0], 10);
  EXPECT_EQ(shape.type, ZQ_UINT16);
  EXPECT_EQ(shape.layout, 3);
  EXPECT_EQ(counts_of("dst"), (Counts{10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
  EXPECT_EQ(record(RecordKind::calibration, "dst", 1), "Energy keV 2 120.000000 2.000000");
  EXPECT_EQ(record(RecordKind::information, "dst", 2), "run 17");
}

TEST_F(Regioncopy, WithoutWindowsTheWholeSpectrumMovesToChannelZero) {
  make_line("based", 5, {7, 8, 9});
  set_record(RecordKind::calibration, "based", 1, "Energy keV 2 100.0 0.5");
  // A lone extra argument is no window.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"based", "dst"}, std::vector<std::string>{"based", "dst", "1"}}) {
    ASSERT_EQ(run("regioncopy", args).status, 0);
    EXPECT_EQ(shape_of("dst").bases[0], 0);
    EXPECT_EQ(counts_of("dst"), (Counts{7, 8, 9}));
    EXPECT_EQ(record(RecordKind::calibration, "dst", 1), "Energy keV 2 100.0 0.5");
  }
}

TEST_F(Regioncopy, TwoDimensionalWindowsShiftEachGivenAxis) {
  // 4 x 3 channels from (1, 10); count = 10 * axis-2 index + axis-1 index.
  make_plane("plane", 1, 10, 4, {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23});
  set_record(RecordKind::calibration, "plane", 1, "Angle deg 2 -12.0 0.5");
  set_record(RecordKind::calibration, "plane", 2, "Energy keV 2 100.0 2.0");

  ASSERT_EQ(run("regioncopy", {"plane", "both", "2", "2", "11", "2"}).status, 0);
  const spectools::Shape both = shape_of("both");
  EXPECT_EQ(both.bases[0], 0);
  EXPECT_EQ(both.bases[1], 0);
  EXPECT_EQ(both.ranges[0], 2);
  EXPECT_EQ(both.ranges[1], 2);
  EXPECT_EQ(counts_of("both"), (Counts{11, 12, 21, 22}));
  EXPECT_EQ(record(RecordKind::calibration, "both", 1), "Angle deg 2 -11.500000 0.500000");
  EXPECT_EQ(record(RecordKind::calibration, "both", 2), "Energy keV 2 102.000000 2.000000");

  // Axis 1 only (with a lone extra argument): axis 2 whole, its record as it stands.
  ASSERT_EQ(run("regioncopy", {"plane", "first", "3", "2", "99"}).status, 0);
  EXPECT_EQ(shape_of("first").ranges[1], 3);
  EXPECT_EQ(counts_of("first"), (Counts{2, 3, 12, 13, 22, 23}));
  EXPECT_EQ(record(RecordKind::calibration, "first", 1), "Angle deg 2 -11.000000 0.500000");
  EXPECT_EQ(record(RecordKind::calibration, "first", 2), "Energy keV 2 100.0 2.0");
}

TEST_F(Regioncopy, UnusableCalibrationIsCopiedAsItStands) {
  set_record(RecordKind::calibration, "src", 1, "Energy keV two 100 2");
  ASSERT_EQ(run("regioncopy", {"src", "dst", "10", "2"}).status, 0);
  EXPECT_EQ(record(RecordKind::calibration, "dst", 1), "Energy keV two 100 2");
}

TEST_F(Regioncopy, FailuresPrintOneLineAndLeaveNoTarget) {
  const std::string usage = "Usage: regioncopy fromspec tospec [base range [base range]]\n";
  const Refusal refusals[] = {
      {{"src"}, usage},
      {{"src", "dst", "ten", "10"}, usage},
      {{"src", "src", "0", "5"}, "target spectrum src is also a source spectrum\n"},
      {{"nope", "dst"}, "no such spectrum 'nope': nope\n"},
      {{"src", "dst", "25", "10"},
       "block 25..34 on axis 1 outside the extent 0..29 of spectrum 'src': src\n"},
      {{"src", "dst", "-1", "3"},
       "block -1..1 on axis 1 outside the extent 0..29 of spectrum 'src': src\n"},
      {{"src", "dst", "0", "2000000000"},
       "block 0..1999999999 on axis 1 outside the extent 0..29 of spectrum 'src': src\n"},
      {{"src", "dst", "0", "-3"}, "negative channel count -3 on axis 1 of spectrum 'src': src\n"},
      {{"src", "dst", "0", "5", "0", "5"},
       "second window given for one dimensional spectrum src\n"},
  };
  expect_refusals("regioncopy", refusals, "dst");
}

TEST_F(Regioncopy, SecondAxisWindowOutsideThePlaneFailsInTheStore) {
  make_plane("plane", 0, 0, 2, {1, 2, 3, 4, 5, 6});
  const Outcome outcome = run("regioncopy", {"plane", "dst", "0", "2", "1", "3"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.output(),
            "block 1..3 on axis 2 outside the extent 0..2 of spectrum 'plane': plane\n");
  EXPECT_FALSE(exists("dst"));
}

}  // namespace
