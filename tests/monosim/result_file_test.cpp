// Every line of monosim's result file against files written under the same format texts by a
// standard Fortran runtime (data/make_result_expected.f90): rows of the yield tables that run
// past 100 values, the per-layer and per-element sums with an empty layer, the correlation
// line present and absent, the words chosen by the flags.
#include <gtest/gtest.h>
#include <filesystem>

#include <fstream>
#include <sstream>
#include <string>

#include "monosim/result_file.h"
#include "result_case.h"

namespace {

std::string expected(const std::string& name) {
  std::ifstream in(std::filesystem::path(IONBEAM_TEST_DATA) / name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string written(const monosim_test::ResultCase& c, const std::string& name) {
  std::ostringstream out;
  monosim::write_result_file(
      out, {c.prepared, c.results, "sample.in", name, c.deg_to_rad, 1765135397123456789});
  return out.str();
}

void expect_same_lines(const std::string& actual, const std::string& wanted) {
  std::istringstream a(actual), e(wanted);
  std::string actual_line, expected_line;
  for (int line = 1; std::getline(e, expected_line); ++line) {
    ASSERT_TRUE(std::getline(a, actual_line)) << "ends before line " << line;
    ASSERT_EQ(actual_line, expected_line) << "line " << line;
  }
  EXPECT_FALSE(std::getline(a, actual_line)) << "extra lines";
  EXPECT_EQ(actual, wanted);
}

TEST(MonoResultFile, CorrelatedRunWithLongRowsMatchesTheFormatTexts) {
  const std::string text = written(monosim_test::correlated_case(), "result_correlated.out");
  expect_same_lines(text, expected("result_correlated.out"));
  EXPECT_NE(text.find(" vibrate with a correlation coefficient of 0.35"), std::string::npos);
}

TEST(MonoResultFile, PlainRunMatchesTheFormatTexts) {
  const std::string text = written(monosim_test::plain_case(), "result_plain.out");
  expect_same_lines(text, expected("result_plain.out"));
  EXPECT_EQ(text.find("correlation"), std::string::npos);
  EXPECT_EQ(text.find("not connected"), std::string::npos);
}

}  // namespace
