// What warpcorr, stepcorr, kinecorr, flatcorr and binshrink share: their command lines, the
// refusals before anything is made, and the records they carry over unchanged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_fixture.h"

namespace {

struct Tool {
  std::string name;
  std::vector<std::string> extra;  // arguments after the two names for a good run
  std::string usage;
  int rows;  // of a source that suits the tool: the window needs 622, flattening at most 437
};

const std::vector<Tool>& tools() {
  static const std::vector<Tool> list = {
      {"warpcorr", {}, "Usage: warpcorr from_spec to_spec [correction_file]\n", 640},
      {"stepcorr", {}, "Usage: stepcorr from_spec to_spec [correction_file]\n", 640},
      {"kinecorr",
       {"1000", "4", "28"},
       "Usage: kinecorr from_spec to_spec beam_energy beam_mass target_mass <angle offset>\n",
       400},
      {"flatcorr", {}, "Usage: flatcorr from_spec to_spec \n", 400},
      {"binshrink", {}, "Usage: binshrink from_spec to_spec factor\n", 400},
  };
  return list;
}

class CorrectionTools : public tool_test::ToolProcessTest {
 protected:
  std::vector<std::string> command(const Tool& tool, const std::string& from,
                                   const std::string& to) {
    std::vector<std::string> args = {from, to};
    args.insert(args.end(), tool.extra.begin(), tool.extra.end());
    return args;
  }
};

TEST_F(CorrectionTools, WrongArgumentCountsPrintTheUsage) {
  const std::vector<std::vector<std::string>> too_short = {{}, {"a"}};
  for (const Tool& tool : tools()) {
    for (const auto& args : too_short) {
      const tool_test::Outcome outcome = run(tool.name, args);
      EXPECT_EQ(outcome.status, 1) << tool.name;
      EXPECT_EQ(outcome.out, tool.usage);
    }
  }
  EXPECT_EQ(run("warpcorr", {"a", "b", "c", "d"}).out, tools()[0].usage);
  EXPECT_EQ(run("kinecorr", {"a", "b", "1", "2"}).out, tools()[2].usage);
  EXPECT_EQ(run("kinecorr", {"a", "b", "1", "2", "3", "4", "5"}).out, tools()[2].usage);
  EXPECT_EQ(run("flatcorr", {"a", "b", "c"}).out, tools()[3].usage);
}

TEST_F(CorrectionTools, SourceAsTargetMissingSourceAndOneDimension) {
  ASSERT_EQ(ZQcreate1dSpectrum("line", 0, 700, 0, ZQ_INT32), 0);
  for (const Tool& tool : tools()) {
    const tool_test::Outcome same = run(tool.name, command(tool, "line", "line"));
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(same.out, "target spectrum line is also a source spectrum\n") << tool.name;

    const tool_test::Outcome missing = run(tool.name, command(tool, "gone", "out"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "no such spectrum 'gone': gone\n") << tool.name;

    const tool_test::Outcome flat = run(tool.name, command(tool, "line", "out"));
    EXPECT_EQ(flat.status, 1);
    EXPECT_EQ(flat.out, "not implemented: spectrum not two dimensional\n") << tool.name;
    EXPECT_FALSE(exists("out")) << tool.name;
  }
}

TEST_F(CorrectionTools, DescriptiveRecordsAreCarriedOver) {
  for (const Tool& tool : tools()) {
    make("scan", {0, 0}, {260, tool.rows}, [](int, int) { return 1; });
    ASSERT_EQ(ZQwriteCalibration("scan", 1, "Angle deg 2 0 0.1"), 0);
    ASSERT_EQ(ZQwriteCalibration("scan", 2, "Energy keV 2 0 2"), 0);
    ASSERT_EQ(ZQwriteInformation("scan", 1, "first"), 0);
    ASSERT_EQ(ZQwriteInformation("scan", 16, "last"), 0);
    ASSERT_EQ(ZQwriteAnnotation("scan", 2, "energy axis"), 0);
    ASSERT_EQ(ZQwriteEfficiency("scan", 1, "measured 2024"), 0);
    const tool_test::Outcome outcome = run(tool.name, command(tool, "scan", "out"));
    ASSERT_EQ(outcome.status, 0) << tool.name << ": " << outcome.out;
    EXPECT_EQ(information("out", 1), "first") << tool.name;
    EXPECT_EQ(information("out", 2), "") << tool.name;
    EXPECT_EQ(information("out", 16), "last") << tool.name;
    char text[ZQ_RECORD_SIZE] = {};
    ASSERT_EQ(ZQreadAnnotation("out", 2, text), 0);
    EXPECT_STREQ(text, "energy axis") << tool.name;
    ASSERT_EQ(ZQreadAnnotation("out", 1, text), 0);
    EXPECT_STREQ(text, "") << tool.name;
    ASSERT_EQ(ZQreadEfficiency("out", 1, text), 0);
    EXPECT_STREQ(text, "measured 2024") << tool.name;
  }
}

}  // namespace
