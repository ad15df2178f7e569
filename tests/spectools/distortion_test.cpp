// warpcorr and stepcorr: the built-in tables, the corrections file, the window calibration,
// and the programs run against a scratch experiment.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <memory>

#include "spectools/warpcorr/corrections_file.h"
#include "spectools/warpcorr/row_tables.h"
#include "spectools/warpcorr/window.h"
#include "tool_fixture.h"

namespace {

using namespace spectools::distortion;
using spectools::Calibration;
using spectools::format_calibration;

TEST(RowTables, WarpcorrStartRowsFollowTheDetectorCurve) {
  const RowTables& warp = builtin_tables("warpcorr");
  // Start rows at run boundaries, and the fine corrections at the start of each listed line.
  const std::pair<int, int> base_rows[] = {{0, 492},   {1, 490},   {3, 490},   {4, 489},
                                           {21, 485},  {49, 485},  {50, 486},  {82, 491},
                                           {115, 491}, {116, 492}, {150, 499}, {162, 500}};
  for (const auto& [column, row] : base_rows) EXPECT_EQ(warp.base_rows[column], row) << column;
  const std::pair<int, int> corrections[] = {{0, -1}, {20, 1},   {40, -2},  {53, 3},   {60, -1},
                                             {80, 2}, {100, -2}, {120, -1}, {140, -2}, {162, -1}};
  for (const auto& [column, value] : corrections) {
    EXPECT_EQ(warp.row_corrections[column], value) << column;
  }
  EXPECT_EQ(source_column(0), 43);
  EXPECT_EQ(source_row(warp, 0), 494);
  EXPECT_EQ(source_column(162), 205);
  EXPECT_EQ(source_row(warp, 162), 502);
}

TEST(RowTables, StepcorrTablesAreZero) {
  const RowTables& step = builtin_tables("stepcorr");
  for (int column = 0; column < kWindowColumns; ++column) {
    EXPECT_EQ(source_row(step, column), 3) << column;
  }
  EXPECT_THROW(builtin_tables("flatcorr"), std::out_of_range);
}

TEST(RowTables, RowBeyondTheIntRangeIsHeldAtItsEnd) {
  RowTables tables = builtin_tables("warpcorr");
  tables.row_corrections[0] = INT_MAX;
  tables.row_corrections[1] = INT_MIN;
  EXPECT_EQ(source_row(tables, 0), INT_MAX);
  EXPECT_EQ(source_row(tables, 1), INT_MIN + 493);
}

// The corrections read from `text` over a table of 7s.
struct Scanned {
  int read;
  RowTable table;
};

Scanned scan(const std::string& text) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), std::fclose);
  std::fputs(text.c_str(), file.get());
  std::rewind(file.get());
  Scanned scanned{0, {}};
  scanned.table.fill(7);
  scanned.read = scan_corrections(file.get(), scanned.table);
  return scanned;
}

TEST(CorrectionsFile, ReadAsSuccessiveDecimalConversions) {
  struct Case {
    std::string text;
    std::vector<int> expected;  // entries 0.. read; the rest must stay 7
  };
  const Case cases[] = {
      {"", {}},
      {"1 -2\n\n  +3\t4\n", {1, -2, 3, 4}},
      {"5 6 x 8", {5, 6}},       // reading stops at text that is no number
      {"12abc 5", {12}},         // the number ends where digits end
      {"- 4", {}},               // a sign without digits
      {"9 99999999999 1", {9}},  // beyond the int range
      {"-2147483648 2147483647", {INT_MIN, INT_MAX}},
  };
  for (const Case& c : cases) {
    const Scanned scanned = scan(c.text);
    EXPECT_EQ(scanned.read, static_cast<int>(c.expected.size())) << c.text;
    for (int k = 0; k < kWindowColumns; ++k) {
      const int want = k < static_cast<int>(c.expected.size()) ? c.expected[k] : 7;
      EXPECT_EQ(scanned.table[k], want) << c.text << " entry " << k;
    }
  }
}

TEST(CorrectionsFile, OnlyTheFirst163AreTaken) {
  std::string text;
  for (int k = 0; k < 200; ++k) text += std::to_string(k) + (k % 10 == 9 ? "\n" : " ");
  const Scanned scanned = scan(text);
  EXPECT_EQ(scanned.read, kWindowColumns);
  EXPECT_EQ(scanned.table[162], 162);
}

TEST(CorrectionsFile, FailuresCarryTheSystemText) {
  RowTable table{};
  try {
    read_corrections_file("/nonexistent/corrections", table);
    FAIL() << "no error";
  } catch (const CorrectionsFileError& error) {
    EXPECT_STREQ(error.what(), "Couldn't open corrections file: No such file or directory\n");
  }
  try {
    read_corrections_file("/", table);
    FAIL() << "no error";
  } catch (const CorrectionsFileError& error) {
    EXPECT_STREQ(error.what(), "Couldn't open corrections file: Is a directory\n");
  }
}

TEST(WindowCalibration, AnglesSpan24DegreesEnergiesTwoPercent) {
  const Calibration angle{"Angle", "deg", 2, 10.0, 0.1};
  EXPECT_EQ(format_calibration(angle_window(angle, 260)), "Angle deg 2 11.000000 0.147239");
  const Calibration energy{"Energy", "keV", 3, 1000.0, 2.0};
  // X = 1000 + 0.5 * 260 * 2 = 1260, from the channel count of axis 1.
  EXPECT_EQ(format_calibration(energy_window(energy, 260)), "Energy keV 3 1247.400000 0.211765");
}

// A detector spectrum whose count names its channel: 1000 * angle channel + energy channel.
std::int32_t channel_code(int i1, int i2) {
  return 1000 * i1 + i2;
}

class DistortionRun : public tool_test::ToolProcessTest {
 protected:
  void SetUp() override {
    ToolProcessTest::SetUp();
    make("det", {0, 0}, {260, 640}, channel_code, 7, ZQ_UINT32);
  }
};

TEST_F(DistortionRun, WarpcorrStraightensIntoTheWindow) {
  ASSERT_EQ(ZQwriteCalibration("det", 1, "Angle deg 2 10.0 0.1"), 0);
  ASSERT_EQ(ZQwriteCalibration("det", 2, "Energy keV 2 1000.0 2.0"), 0);
  ASSERT_EQ(ZQwriteInformation("det", 5, "Au(111) 100 keV He+"), 0);
  ASSERT_EQ(ZQwriteEfficiency("det", 2, "flat"), 0);
  const tool_test::Outcome outcome = run("warpcorr", {"det", "win"});
  EXPECT_EQ(outcome.status, 0) << outcome.out;
  EXPECT_EQ(outcome.out, "spectrum det corrected for detector distortion to win\n");
  EXPECT_EQ(outcome.err, "");
  const tool_test::Spectrum win = read("win");
  EXPECT_EQ(win.bases, (std::array<int, 2>{0, 0}));
  EXPECT_EQ(win.ranges, (std::array<int, 2>{163, 119}));
  EXPECT_EQ(win.layout, 7);
  EXPECT_EQ(win.type, ZQ_UINT32);
  // Column 53 starts at base row 486 + correction 3 + 3.
  const std::array<int, 3> columns = {0, 53, 162};
  const std::array<int, 3> first_rows = {494, 492, 502};
  for (std::size_t k = 0; k < columns.size(); ++k) {
    for (int row = 0; row < 119; ++row) {
      ASSERT_EQ(win.at(columns[k], row), channel_code(43 + columns[k], first_rows[k] + row))
          << "column " << columns[k] << " row " << row;
    }
  }
  EXPECT_EQ(calibration("win", 1), "Angle deg 2 11.000000 0.147239");
  EXPECT_EQ(calibration("win", 2), "Energy keV 2 1247.400000 0.211765");
  EXPECT_EQ(information("win", 5), "Au(111) 100 keV He+");
  char efficiency[ZQ_RECORD_SIZE] = {};
  ASSERT_EQ(ZQreadEfficiency("win", 2, efficiency), 0);
  EXPECT_STREQ(efficiency, "flat");
}

TEST_F(DistortionRun, StepcorrTakesEveryColumnFromRowThree) {
  const tool_test::Outcome outcome = run("stepcorr", {"det", "win"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "spectrum det corrected for detector distortion to win\n");
  const tool_test::Spectrum win = read("win");
  for (int column = 0; column < 163; ++column) {
    ASSERT_EQ(win.at(column, 0), channel_code(43 + column, 3)) << column;
    ASSERT_EQ(win.at(column, 118), channel_code(43 + column, 121)) << column;
  }
  // No calibration in the source: none is written.
  EXPECT_EQ(calibration("win", 1), "");
  EXPECT_EQ(calibration("win", 2), "");
}

TEST_F(DistortionRun, CorrectionsFileReplacesThePresetTable) {
  struct Case {
    std::string tool;
    std::string file_text;
    std::array<int, 3> first_rows;  // of output columns 0, 1, 2
  };
  std::string all_zeros;
  for (int k = 0; k < 163; ++k) all_zeros += k % 20 == 19 ? "0\n" : "0 ";
  const Case cases[] = {
      {"warpcorr", all_zeros, {495, 493, 493}},  // baseRows + 3 alone
      {"warpcorr", "5 -5\n", {500, 488, 492}},   // column 2 keeps its preset -1
      {"stepcorr", "7 8 9 tail", {10, 11, 12}},
  };
  for (const Case& c : cases) {
    dir_.write("rows.txt", c.file_text);
    const tool_test::Outcome outcome = run(c.tool, {"det", "win", "rows.txt"});
    ASSERT_EQ(outcome.status, 0) << outcome.out << outcome.err;
    const tool_test::Spectrum win = read("win");
    for (int column = 0; column < 3; ++column) {
      EXPECT_EQ(win.at(column, 0), channel_code(43 + column, c.first_rows[column]))
          << c.tool << " " << c.file_text << " column " << column;
    }
  }
}

TEST_F(DistortionRun, UnreadableCorrectionsFileGoesToTheErrorStreamFirst) {
  for (const std::string source : {"det", "nosuch"}) {
    const tool_test::Outcome outcome = run("warpcorr", {source, "win", "missing.txt"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "Couldn't open corrections file: No such file or directory\n");
    EXPECT_FALSE(exists("win"));
  }
}

TEST_F(DistortionRun, WindowCalibrationBeyondTheRealsIsRefused) {
  struct Case {
    const char* tool;
    int number;
    const char* record;
  };
  const Case cases[] = {{"warpcorr", 1, "Angle deg 2 1e20 1e308"},
                        {"stepcorr", 2, "Energy keV 2 0 1e308"}};
  for (const Case& c : cases) {
    ASSERT_EQ(ZQwriteCalibration("det", c.number, c.record), 0);
    const tool_test::Outcome outcome = run(c.tool, {"det", "win"});
    EXPECT_EQ(outcome.status, 1) << c.tool;
    EXPECT_EQ(outcome.out, "calibration " + std::to_string(c.number) +
                               " puts the window centre beyond the range of reals: det\n");
    EXPECT_FALSE(exists("win")) << c.tool;
    ASSERT_EQ(ZQwriteCalibration("det", c.number, ""), 0);
  }
}

TEST_F(DistortionRun, WindowOutsideTheSourceFailsOnTheSource) {
  make("small", {0, 0}, {300, 100}, channel_code);
  const tool_test::Outcome outcome = run("stepcorr", {"small", "win"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out,
            "block 3..121 on axis 2 outside the extent 0..99 of spectrum 'small': small\n");
  EXPECT_EQ(outcome.err, "");
}

}  // namespace
