// histtext: the channel lines with and without a usable calibration, the information
// records at the head of the file, and the failures of the output file and the source.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "spectools/histtext/text_lines.h"
#include "tool_fixture.h"

namespace {

using namespace tool_test;
using namespace spectools::histtext;
using spectools::RecordKind;

TEST(TextCalibration, AllFiveFieldsOrNothing) {
  const auto usable = text_calibration("Energy keV 2 100 0.5");
  ASSERT_TRUE(usable);
  EXPECT_EQ(usable->offset, 100.0f);
  EXPECT_EQ(usable->slope, 0.5f);
  for (const char* record : {"", "Energy keV 2 100", "Energy keV x 100 0.5", "Energy"}) {
    EXPECT_FALSE(text_calibration(record)) << record;
  }
  EXPECT_TRUE(std::isinf(text_calibration("E k 2 1e39 1")->offset));
}

TEST(ChannelLine, IndexOrSinglePrecisionValue) {
  struct Case {
    int index;
    int base;
    std::int32_t count;
    std::optional<TextCalibration> calibration;
    std::string line;
  };
  const Case cases[] = {
      {0, 10, 7, std::nullopt, "         0          7\n"},
      {2, -4, -123456789, std::nullopt, "         2 -123456789\n"},
      {3, 10, -5, TextCalibration{100.0f, 0.5f}, "106.500000         -5\n"},
      {0, 3, 1, TextCalibration{0.0f, 0.1f}, "  0.300000          1\n"},
      // 16777217 has no float: the value is worked out in single precision.
      {1, 0, 0, TextCalibration{16777216.0f, 1.0f}, "16777216.000000          0\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(channel_line(c.index, c.base, c.count, c.calibration), c.line) << c.line;
  }
}

class Histtext : public ToolProcessTest {
 protected:
  std::string file_text(const std::string& name) const {
    std::ifstream in(dir_.path() / name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(Histtext, CalibratedLinesAfterTheInformationRecords) {
  make_line("src", 10, {5, -2, 7});
  set_record(RecordKind::information, "src", 1, "sample Au(111)");
  set_record(RecordKind::information, "src", 3, "beam He+");
  set_record(RecordKind::calibration, "src", 1, "Energy keV 2 100.0 0.5");
  const Outcome outcome = run("histtext", {"src", "out.txt", "format", "more"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output(), "copied spectrum src to ASCII file out.txt\n");
  EXPECT_EQ(file_text("out.txt"),
            "sample Au(111)\nbeam He+\n"
            "105.000000          5\n105.500000         -2\n106.000000          7\n");
}

TEST_F(Histtext, WithoutUsableCalibrationLinesCountFromZero) {
  make_line("src", 10, {5, 6});
  const std::string index_lines = "         0          5\n         1          6\n";
  for (const char* calibration : {"", "Energy keV 2 100.0"}) {
    if (*calibration != '\0') set_record(RecordKind::calibration, "src", 1, calibration);
    ASSERT_EQ(run("histtext", {"src", "out.txt"}).status, 0);
    EXPECT_EQ(file_text("out.txt"), index_lines) << calibration;
  }
}

TEST_F(Histtext, CalibrationBeyondSinglePrecisionIsRefusedBeforeAnyLine) {
  make_line("src", 10, {5, 6});
  for (const char* calibration :
       {"Energy keV 2 3.4e38 1e38", "Angle deg 2 1e308 3", "Energy keV 2 0 1e39"}) {
    set_record(RecordKind::calibration, "src", 1, calibration);
    set_record(RecordKind::information, "src", 1, "sample");
    const Outcome outcome = run("histtext", {"src", "out.txt"});
    EXPECT_EQ(outcome.status, 1) << calibration;
    EXPECT_EQ(outcome.output(), "calibration 1 gives channel values beyond single precision: src\n")
        << calibration;
    EXPECT_EQ(file_text("out.txt"), "") << calibration;
  }
}

TEST_F(Histtext, FailuresPrintOneMessage) {
  make_line("src", 0, {1});
  make_plane("plane", 0, 0, 1, {1, 2});
  const Refusal refusals[] = {
      {{"src"}, "Usage: histtext fromspec tospec format\n"},
      {{"src", "missing/out.txt"}, "failed to open output file\n\n"},
      {{"src", "/dev/full"}, "Failed to write to output file\n"},
      {{"plane", "out.txt"}, "not implemented: spectrum not one dimensional\n"},
      {{"nope", "out.txt"}, "no such spectrum 'nope': nope\n"},
  };
  expect_refusals("histtext", refusals);
  // The output file is opened before the source is looked at: its old content is gone.
  EXPECT_EQ(file_text("out.txt"), "");
}

}  // namespace
