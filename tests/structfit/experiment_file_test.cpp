// Reading a measured curve: pairs up to the first line that is not a pair, at most 400.
#include "structfit/experiment_file.h"

#include <gtest/gtest.h>

#include "../polysim/scratch_dir.h"
#include "structfit/fit_errors.h"

namespace {

struct Columns {
  std::vector<float> angles, intensities;
};

Columns read_text(const std::string& text) {
  polysim_test::ScratchDir dir;
  dir.write("curve.exp", text);
  Columns columns;
  for (const structfit::CurvePoint& p : structfit::read_experiment_file(dir.file("curve.exp"))) {
    columns.angles.push_back(p.angle);
    columns.intensities.push_back(p.intensity);
  }
  return columns;
}

TEST(ExperimentFile, ReadsPairsUntilTheFirstLineThatIsNotAPair) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<float> angles;
  };
  const Case cases[] = {
      {"blanks and commas", "120.0 5\n121.0,6\n 122 , 7.5e1\n", {120.0f, 121.0f, 122.0f}},
      {"footer text", "120 1\n121 2\nend of scan\n122 3\n", {120.0f, 121.0f}},
      {"one number alone does not borrow the next line", "120 1\n121\n122 3\n", {120.0f}},
      {"blank line", "120 1\n\n121 2\n", {120.0f}},
      {"null value", "120 1\n121,,2\n", {120.0f}},
      {"slash", "120 1\n/\n", {120.0f}},
      {"extra values are ignored", "120 1 9 9\n121 2\n", {120.0f, 121.0f}},
      {"no final line end", "120 1\n121 2", {120.0f, 121.0f}},
      {"empty file", "", {}},
  };
  for (const Case& c : cases) {
    const Columns curve = read_text(c.text);
    EXPECT_EQ(curve.angles, c.angles) << c.name;
    EXPECT_EQ(curve.intensities.size(), c.angles.size()) << c.name;
  }
  EXPECT_EQ(read_text("120 5\n121,6\n").intensities, (std::vector<float>{5.0f, 6.0f}));
}

TEST(ExperimentFile, KeepsAtMost400Pairs) {
  std::string text;
  for (int i = 0; i < 450; ++i) text += std::to_string(100 + i) + " 1\n";
  const Columns curve = read_text(text);
  ASSERT_EQ(curve.angles.size(), 400u);
  EXPECT_EQ(curve.angles.back(), 499.0f);
}

TEST(ExperimentFile, MissingFileIsRefused) {
  EXPECT_THROW(structfit::read_experiment_file("/nonexistent/curve.exp"), structfit::SetupRefused);
}

}  // namespace
