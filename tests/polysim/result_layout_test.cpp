// Every line of the result files of two small runs against files written under the same
// format texts by a standard Fortran runtime (data/make_result_expected.f90): numbering,
// N2 = 8 wrapping, clipping and its count, an empty layer, parameter lines present and
// absent, and 230 atoms, all of them written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "polysim/result_signals.h"
#include "polysim/result_writer.h"
#include "polysim/status_file.h"
#include "result_cases.h"
#include "scratch_dir.h"
#include "textio/fixed_text.h"

namespace {

using polysim_test::ScratchDir;

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The expected text with the placeholder of the file's own name replaced by `full_name`.
std::string expected_file(const std::string& name, const std::string& full_name) {
  std::string text = read_file(std::filesystem::path(IONBEAM_TEST_DATA) / name);
  const std::string placeholder = " Outputfile:  " + textio::fixed_width("OUTPUTFILE", 80);
  const std::size_t at = text.find(placeholder);
  if (at != std::string::npos)
    text.replace(at, placeholder.size(), " Outputfile:  " + textio::fixed_width(full_name, 80));
  return text;
}

// Writes the case's files with root `root` in `dir` (the working directory).
void write_case(polysim_test::ResultCase& c, const std::string& root, std::ostream& console) {
  polysim::StatusFile status(root + ".status", console);
  // The seed of data/make_result_expected.f90.
  const polysim::ResultSetup setup{
      textio::fixed_width("sample.in", 80), textio::fixed_width(root, 80),
      polysim::build_status_path(root).name_column, c.deg_to_rad, 1765135397123456789};
  polysim::write_result_files(c.input, c.results, status, setup);
}

void expect_same_lines(const std::string& actual, const std::string& expected,
                       const std::string& name) {
  std::istringstream a(actual), e(expected);
  std::string actual_line, expected_line;
  for (int line = 1; std::getline(e, expected_line); ++line) {
    ASSERT_TRUE(std::getline(a, actual_line)) << name << " ends before line " << line;
    ASSERT_EQ(actual_line, expected_line) << name << ", line " << line;
  }
  EXPECT_FALSE(std::getline(a, actual_line)) << name << " has extra lines";
  EXPECT_EQ(actual, expected) << name;
}

TEST(ResultLayout, SixModelPairsMatchTheFormatTextsLineByLine) {
  ScratchDir dir(true);
  polysim_test::ResultCase c = polysim_test::small_case();
  std::ostringstream console;
  write_case(c, "result_small", console);
  for (int n = 1; n <= 6; ++n) {
    const std::string name = "result_small.000" + std::to_string(n);
    ASSERT_TRUE(std::filesystem::exists(dir.file(name))) << name;
    const std::string full_name = std::filesystem::canonical(dir.file(name)).string();
    expect_same_lines(dir.read(name), expected_file(name, full_name), name);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("result_small.0007")));
}

TEST(ResultLayout, AllAtomsBeyondTheFirstHundredAndNoParameterLines) {
  ScratchDir dir(true);
  polysim_test::ResultCase c = polysim_test::large_case();
  std::ostringstream console;
  write_case(c, "result_large", console);
  const std::string name = "result_large.0001";
  const std::string full_name = std::filesystem::canonical(dir.file(name)).string();
  const std::string text = dir.read(name);
  expect_same_lines(text, expected_file(name, full_name), name);
  // Atom 230's yield at the first angle, mod(7 * 230 + 3, 80) / 8 = 1.625, ends the last
  // line of that angle's group, before the second angle's line.
  EXPECT_NE(text.find("  1.625\n   31.50"), std::string::npos);
  EXPECT_EQ(text.find("Structure model"), std::string::npos);
  EXPECT_EQ(text.find("Vibration model"), std::string::npos);
}

// The files print clipped yields; the results themselves keep what the run found.
TEST(ResultLayout, ClippingMakesACopyForTheFiles) {
  ScratchDir dir(true);
  polysim_test::ResultCase c = polysim_test::small_case();
  const polysim::RunResults found = c.results;
  std::ostringstream console;
  write_case(c, "result_small", console);
  EXPECT_EQ(c.results.block_yield(1, 2, 1, 2), found.block_yield(1, 2, 1, 2));
  const polysim::RunResults clipped = polysim::clipped_yields(c.results);
  EXPECT_EQ(clipped.block_yield(1, 2, 1, 2), 9.999f);
  EXPECT_EQ(clipped.block_yield(3, 1, 5, 1), 9.999f);
  EXPECT_EQ(clipped.block_yield(2, 1, 2, 3), 9.999f);
  EXPECT_EQ(clipped.block_yield(1, 1, 1, 1), found.block_yield(1, 1, 1, 1));
}

TEST(ResultLayout, PotentialLineNamesTheSelectedPotential) {
  const struct {
    std::int32_t selector;
    const char* line;
  } cases[] = {{0, " Moliere scattering potential\n"},
               {1, " Biersack universal scattering potential\n"},
               {2, " bare Coulomb scattering potential\n"}};
  for (const auto& c : cases) {
    ScratchDir dir(true);
    polysim_test::ResultCase k = polysim_test::small_case();
    k.input.options.potential_selector = c.selector;
    std::ostringstream console;
    write_case(k, "result_small", console);
    EXPECT_NE(dir.read("result_small.0001").find(c.line), std::string::npos) << c.selector;
  }
}

}  // namespace
