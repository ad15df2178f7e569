// The files of the R-factor: simulated curves read back and combined, and skew files written
// as a Fortran runtime writes them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "structfit/rfactor_errors.h"
#include "structfit/rfactor_simulated.h"
#include "structfit/skew_file.h"

namespace {

using structfit::SkewLine;

// Pairs of lines: five bit patterns in hexadecimal, then the line written for them.
TEST(SkewFile, LinesMatchTheFortranRuntimeByteForByte) {
  std::ifstream in(std::filesystem::path(IONBEAM_TEST_DATA) / "skew_expected.txt");
  ASSERT_TRUE(in) << "skew_expected.txt";
  std::vector<SkewLine> lines;
  std::string expected;
  std::string bits;
  std::string written;
  while (std::getline(in, bits) && std::getline(in, written)) {
    std::istringstream words(bits);
    float v[5];
    for (float& value : v) {
      std::uint32_t pattern = 0;
      words >> std::hex >> pattern;
      value = std::bit_cast<float>(pattern);
    }
    lines.push_back({v[0], v[1], v[2], v[3], v[4]});
    expected += written + "\n";
  }
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(structfit::format_skew_lines(lines), expected);
}

TEST(SkewFile, OverwritesAnOlderLongerFileAndRefusesAnUnwritableName) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("rfactor-skew-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string name = (dir / "skew1.0003").string();
  std::ofstream(name) << std::string(500, 'x') << "\n";
  structfit::write_skew_file(name + "    ", {{12.5f, 1.0f, 2.0f, 3.0f, 4.0f}});
  std::ifstream in(name);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "  12.500    1.000    2.000    3.000    4.000\n");
  EXPECT_THROW(structfit::write_skew_file(dir.string(), {}), structfit::SkewFileError);
  std::filesystem::remove_all(dir);
}

TEST(SimulatedCurve, CombinesTheIncludedColumnsAndStopsAtTheFirstUnreadableLine) {
  std::istringstream in(
      "   20.00  1.000  2.000  0.500\n"
      "   20.50  0.900,1.500  0.250\n"
      "   21.00  0.800  1.000\n  0.125\n"  // a short record runs on to the next line
      "   21.50  abc    1.000  1.000\n"
      "   22.00  1.000  1.000  1.000\n");
  const structfit::Curve curve =
      structfit::read_simulated_curve(in, "out1.0001", {1, 0, 1}, {2.0f, 5.0f, 4.0f});
  ASSERT_EQ(curve.size(), 3u);
  EXPECT_FLOAT_EQ(curve[0].angle, 20.0f);
  EXPECT_FLOAT_EQ(curve[0].intensity, 2.0f * 1.0f + 4.0f * 0.5f);
  EXPECT_FLOAT_EQ(curve[1].intensity, 2.0f * 0.9f + 4.0f * 0.25f);
  EXPECT_FLOAT_EQ(curve[2].angle, 21.0f);
  EXPECT_FLOAT_EQ(curve[2].intensity, 2.0f * 0.8f + 4.0f * 0.125f);
}

TEST(SimulatedCurve, ReadsAtMost400Points) {
  std::string text;
  for (int i = 0; i < 450; ++i) text.append(" ").append(std::to_string(10 + i)).append(" 1.0\n");
  std::istringstream in(text);
  const structfit::Curve curve = structfit::read_simulated_curve(in, "out1.0001", {1}, {1.0f});
  ASSERT_EQ(curve.size(), 400u);
  EXPECT_EQ(curve.back().angle, 409.0f);
}

}  // namespace
