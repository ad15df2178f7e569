// Reading bfgsin.dat: its fixed columns, its echo, and the refusals at set-up.
#include "structfit/fit_setup.h"

#include <gtest/gtest.h>

#include "fit_case.h"
#include "structfit/fit_errors.h"
#include "textio/errors.h"
#include "textio/fixed_text.h"

namespace {

using structfit_test::data_text;
using structfit_test::FitCaseDir;
using structfit_test::joined;
using structfit_test::lines_of;

struct SetupRun {
  FitCaseDir files;
  std::ostringstream console;

  structfit::FitSetup read(const std::vector<std::string>& lines) {
    files.dir.write("bfgsin.dat", joined(lines));
    return structfit::read_fit_setup("bfgsin.dat", console);
  }
  // The refusal's line when `lines` are refused.
  std::string refusal(const std::vector<std::string>& lines) {
    try {
      read(lines);
    } catch (const structfit::SetupRefused& refused) {
      return refused.what();
    } catch (const textio::ReadError& error) {
      return error.what();
    }
    return "accepted";
  }
};

std::vector<std::string> fit_case() {
  return lines_of(data_text("fit_case.dat"));
}

// The case with line `index` (0-based) replaced.
std::vector<std::string> with(std::size_t index, const std::string& line) {
  std::vector<std::string> lines = fit_case();
  lines.at(index) = line;
  return lines;
}

constexpr std::size_t kNptsLine = 13;

TEST(FitSetup, EchoIsByteForByteWhatTheFortranRuntimeWrites) {
  SetupRun run;
  run.read(fit_case());
  EXPECT_EQ(run.console.str(), data_text("echo_fit_case.txt"));
}

TEST(FitSetup, ConstraintRecordIsReadOnlyWhenTheFlagIsOne) {
  SetupRun run;
  const structfit::FitSetup setup = run.read(fit_case());
  ASSERT_EQ(setup.data_sets.size(), 2u);
  const structfit::DataSet& constrained = setup.data_sets[0];
  EXPECT_EQ(constrained.constraint_flag, 1);
  EXPECT_FLOAT_EQ(constrained.nominal_scale, 1.0f);
  EXPECT_FLOAT_EQ(constrained.tolerance_percent, 5.0f);
  EXPECT_EQ(constrained.base_path, textio::fixed_width("fit_case_base.in", 80));
  const structfit::DataSet& free = setup.data_sets[1];
  EXPECT_EQ(free.constraint_flag, 0);
  EXPECT_EQ(free.nominal_scale, 0.0f);
  EXPECT_EQ(free.base_path, textio::fixed_width("fit_case_base.in", 80));
}

TEST(FitSetup, ValuesLandInTheirTables) {
  SetupRun run;
  const structfit::FitSetup setup = run.read(fit_case());
  ASSERT_EQ(setup.elements.size(), 2u);
  EXPECT_EQ(setup.elements[1].include, 0);
  EXPECT_FLOAT_EQ(setup.elements[1].weight, 0.5f);
  EXPECT_FLOAT_EQ(setup.relative_tolerance, 0.001f);
  EXPECT_EQ(setup.point_count, 5);
  ASSERT_EQ(setup.parameters.size(), 3u);
  EXPECT_EQ(setup.parameters[1].name, textio::fixed_width("sigma_top", 20));
  EXPECT_FLOAT_EQ(setup.parameters[1].step, 0.02f);
  EXPECT_FLOAT_EQ(setup.parameters[1].rows[2][0], -0.2f);
  EXPECT_TRUE(setup.parameters[2].rows.empty());  // NAT 0 reads no rows
}

TEST(FitSetup, PointCountNineIsAcceptedTenAndFourAreRefused) {
  struct Case {
    const char* line;
    const char* refusal;
  };
  const Case cases[] = {
      {"  9", "accepted"},
      {"  5", "accepted"},
      {" 10", " DONT BE STUPID 9 PINTS IS ENOUGH FOR ANY MAN"},
      {"  4", " bfgsin.dat, line 14: record 7, NPTS = 4 is outside 5..9"},
      {" 1 0", " DONT BE STUPID 9 PINTS IS ENOUGH FOR ANY MAN"},  // blanks in a field are ignored
  };
  for (const Case& c : cases) {
    SetupRun run;
    EXPECT_EQ(run.refusal(with(kNptsLine, c.line)), c.refusal) << c.line;
  }
}

TEST(FitSetup, CountsOutsideTheTablesAreRefusedNamingRecordValueAndLimit) {
  struct Case {
    std::size_t index;
    const char* line;
    const char* refusal;
  };
  const Case cases[] = {
      {0, " 10", " bfgsin.dat, line 1: record 1, NSETS = 10 is outside 1..9"},
      {0, "    2", " bfgsin.dat, line 1: record 1, NSETS = 0 is outside 1..9"},  // beyond I3
      {9, "  7", " bfgsin.dat, line 10: record 4, NELEM = 7 is outside 1..6"},
      {15, " 51", " bfgsin.dat, line 16: record 9, NPAR = 51 is outside 1..50"},
      {15, "  0", " bfgsin.dat, line 16: record 9, NPAR = 0 is outside 1..50"},
      {18, " 301", " bfgsin.dat, line 19: record 10c, NAT of parameter 1 = 301 is outside 0..300"},
      {18, " -1", " bfgsin.dat, line 19: record 10c, NAT of parameter 1 = -1 is outside 0..300"},
  };
  for (const Case& c : cases) {
    SetupRun run;
    EXPECT_EQ(run.refusal(with(c.index, c.line)), c.refusal) << c.line;
  }
}

TEST(FitSetup, ParameterNamesMustReadBackAsOneWord) {
  const std::string head = " bfgsin.dat, line 17: record 10a, name of parameter 1 ";
  const std::string tail = " is not one word without blanks, commas, slashes, asterisks or quotes";
  for (const char* name : {"d12 expansion", "d12,a", "2*d", "'d12'", ""}) {
    SetupRun run;
    EXPECT_EQ(run.refusal(with(16, std::string(" ") + name)), head + "'" + name + "'" + tail);
  }
  SetupRun run;
  EXPECT_EQ(run.refusal(with(16, " d12-expansion.(a)")), "accepted");
}

TEST(FitSetup, MissingFilesAreNamedAsTheHistoricMessagesDo) {
  SetupRun run;
  EXPECT_EQ(run.refusal(with(1, " nothing.exp")),
            " EXPT FILE " + textio::fixed_width("nothing.exp", 80) + "DOES NOT EXIST");
  EXPECT_EQ(run.refusal(with(4, " nothing.in")),
            " BASE FILE " + textio::fixed_width("nothing.in", 80) + "DOES NOT EXIST");
  std::ostringstream console;
  try {
    structfit::read_fit_setup("no_bfgsin.dat", console);
    FAIL();
  } catch (const structfit::SetupRefused& refused) {
    EXPECT_STREQ(refused.what(), " FILE BFGSIN.DAT DOES NOT EXIST");
  }
}

TEST(FitSetup, ValuesOutsideTheirColumnsAreMisreadAsFixedColumnsRead) {
  SetupRun run;
  // (1X,2F6.2): columns 2-7 hold "1.00 5" (1.005 with the blank ignored), 8-13 ".00".
  structfit::FitSetup setup = run.read(with(3, " 1.00 5.00"));
  EXPECT_FLOAT_EQ(setup.data_sets[0].nominal_scale, 1.005f);
  EXPECT_FLOAT_EQ(setup.data_sets[0].tolerance_percent, 0.0f);
  // (1X,F6.4): a field without a point takes four implied decimals.
  setup = run.read(with(12, "     5"));
  EXPECT_FLOAT_EQ(setup.relative_tolerance, 0.0005f);
  // (1X,I3,F8.3): the weight starts in column 5; " 1 1.000" puts "1 1" in the flag.
  setup = run.read(with(10, " 1 1.000"));
  EXPECT_EQ(setup.elements[0].include, 11);
  EXPECT_FLOAT_EQ(setup.elements[0].weight, 0.0f);
}

TEST(FitSetup, MalformedRecordsNameFileLineAndItem) {
  SetupRun run;
  EXPECT_EQ(run.refusal(with(17, "   0.050   x.020")),
            "bfgsin.dat, line 18: cannot read '  x.020 ' (columns 10-17) as a real for guess and "
            "step of parameter 1");
  std::vector<std::string> short_file = fit_case();
  short_file.resize(20);
  EXPECT_EQ(run.refusal(short_file),
            "bfgsin.dat, line 20: file ends before row 2 of parameter 1 (record 10d) was read");
}

}  // namespace
