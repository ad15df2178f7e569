// The nine tools' command lines: accepted argument counts, usage output and closing messages.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "spectools/frame/tool_exit.h"
#include "spectools/frame/usage.h"

namespace {

using namespace spectools;

struct CountCase {
  std::string tool;
  std::vector<int> accepted;
  std::vector<int> refused;
};

TEST(ToolUsage, ArgumentCountsOfEveryTool) {
  const CountCase cases[] = {
      {"warpcorr", {3, 4}, {1, 2, 5}},      {"stepcorr", {3, 4}, {2, 5}},
      {"kinecorr", {6, 7}, {3, 5, 8}},      {"flatcorr", {3}, {2, 4}},
      {"binshrink", {3, 4, 5, 40}, {1, 2}}, {"histsum", {3, 4, 31, 40}, {2}},
      {"regioncopy", {3, 4, 5, 6, 9}, {2}}, {"histcopy", {3}, {2, 4}},
      {"histtext", {3, 4, 10}, {0, 1, 2}},
  };
  for (const CountCase& c : cases) {
    const ToolUsage& usage = usage_of(c.tool);
    for (int argc : c.accepted) EXPECT_TRUE(accepts(usage, argc)) << c.tool << " " << argc;
    for (int argc : c.refused) EXPECT_FALSE(accepts(usage, argc)) << c.tool << " " << argc;
  }
  EXPECT_THROW(usage_of("histmerge"), std::out_of_range);
}

TEST(ToolUsage, PlainUsageKeepsItsNewlineCrashUsageGetsOne) {
  EXPECT_EQ(usage_output(usage_of("flatcorr")), "Usage: flatcorr from_spec to_spec \n");
  EXPECT_EQ(usage_output(usage_of("histcopy")), "Usage: histcopy fromspec tospec\n");
  EXPECT_EQ(usage_output(usage_of("kinecorr")),
            "Usage: kinecorr from_spec to_spec beam_energy beam_mass target_mass <angle offset>\n");
}

TEST(ToolUsage, WrongCountEndsWithUsageAndStatusOne) {
  try {
    check_argument_count(usage_of("histsum"), 2);
    FAIL() << "no exit";
  } catch (const ToolExit& exit) {
    EXPECT_EQ(exit.status(), 1);
    EXPECT_EQ(exit.output(), "Usage: histsum fromspec [fromspec ...] tospec\n");
  }
  EXPECT_NO_THROW(check_argument_count(usage_of("histsum"), 3));
}

TEST(ToolUsage, ClosingMessagesFillTheirFieldsInOrder) {
  EXPECT_EQ(closing_message(usage_of("warpcorr"), {"raw", "flat"}),
            "spectrum raw corrected for detector distortion to flat\n");
  EXPECT_EQ(closing_message(usage_of("binshrink"), {"raw", "3"}),
            "spectrum raw squashed by a factor of 3\n");
  EXPECT_EQ(closing_message(usage_of("histsum"), {"sum"}), "merged spectra into spectrum sum\n");
  EXPECT_EQ(closing_message(usage_of("histtext"), {"raw", "raw.txt"}),
            "copied spectrum raw to ASCII file raw.txt\n");
}

}  // namespace
