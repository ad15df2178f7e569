// The run of result files as a whole: its status line, replacing older files, and the
// fall-back to "dump.out" with its status lines, including the refused second fall-back.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <sstream>

#include "polysim/result_writer.h"
#include "polysim/run_errors.h"
#include "polysim/status_file.h"
#include "result_cases.h"
#include "scratch_dir.h"
#include "textio/fixed_text.h"

namespace {

using polysim_test::ScratchDir;

// The small case cut to `vibrations` vibration models and one structure model.
polysim_test::ResultCase pairs_case(std::int32_t vibrations) {
  polysim_test::ResultCase c = polysim_test::small_case();
  c.input.models.structure_count = 1;
  c.input.models.vibration_count = vibrations;
  return c;
}

struct WriterRun {
  std::ostringstream console;
  polysim::StatusFile status{"run.status", console};

  void write(polysim_test::ResultCase& c, const std::string& root) {
    const polysim::ResultSetup setup{textio::fixed_width("sample.in", 80),
                                     textio::fixed_width(root, 80),
                                     polysim::build_status_path(root).name_column, c.deg_to_rad};
    polysim::write_result_files(c.input, c.results, status, setup);
  }
};

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ResultWriter, StatusLineNamesTheRootAndOlderFilesAreReplaced) {
  ScratchDir dir(true);
  dir.write("res.0002", std::string(100000, 'x'));
  polysim_test::ResultCase c = pairs_case(2);
  WriterRun run;
  run.write(c, "res");
  const std::string status = dir.read("run.status");
  ASSERT_EQ(status.size(), 1u + 24 + 24 + 80 + 4 + 1);
  EXPECT_EQ(status.substr(25),
            "  Writing output files: " + textio::fixed_width("res", 80) + ".nnn\n");
  EXPECT_EQ(run.console.str(), status);
  EXPECT_EQ(dir.read("res.0002").substr(0, 3), "\n\n ");
  EXPECT_FALSE(contains(dir.read("res.0002"), "xxx"));
}

TEST(ResultWriter, UncreatableFileFallsBackToDumpOut) {
  ScratchDir dir(true);
  polysim_test::ResultCase c = pairs_case(1);
  WriterRun run;
  run.write(c, "nodir/res");
  ASSERT_TRUE(std::filesystem::exists(dir.file("dump.out")));
  const std::string full_name = std::filesystem::canonical(dir.file("dump.out")).string();
  const std::string dump = dir.read("dump.out");
  EXPECT_TRUE(contains(dump, " Outputfile:  " + textio::fixed_width(full_name, 80) + "\n"));
  EXPECT_TRUE(contains(dump, " Summed hitting probability(  3 layers)  ="));
  const std::string lines = " Error opening " + textio::fixed_width("nodir/res", 80) + "\n" +
                            " File written  " + textio::fixed_width(full_name, 80) + "\n";
  EXPECT_EQ(dir.read("run.status").substr(dir.read("run.status").find('\n') + 1), lines);
  EXPECT_TRUE(contains(run.console.str(), lines));
}

TEST(ResultWriter, SecondFallBackIsAClearError) {
  ScratchDir dir(true);
  polysim_test::ResultCase c = pairs_case(2);
  WriterRun run;
  try {
    run.write(c, "nodir/res");
    FAIL() << "no error";
  } catch (const polysim::FileError& error) {
    const std::string message = error.what();
    EXPECT_TRUE(contains(message, "nodir/res.0002")) << message;
    EXPECT_TRUE(contains(message, (dir.path() / "dump.out").string())) << message;
    EXPECT_TRUE(contains(message, "earlier model pair")) << message;
  }
  EXPECT_TRUE(contains(dir.read("dump.out"), "Vibration model   1,"));  // the first pair's
}

TEST(ResultWriter, DumpOutOfAnotherRunIsNeverOverwritten) {
  ScratchDir dir(true);
  dir.write("dump.out", "older dump\n");
  polysim_test::ResultCase c = pairs_case(1);
  WriterRun run;
  EXPECT_THROW(run.write(c, "nodir/res"), polysim::FileError);
  EXPECT_EQ(dir.read("dump.out"), "older dump\n");
}

// The last guard: a NaN or an infinity anywhere in the results ends the run with the abort
// block before any file is written, naming the first value at fault.
TEST(ResultWriter, NonFiniteResultsAbortBeforeAnyFile) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    void (*spoil)(polysim::RunResults&, float);
    float value;
    const char* message;
  } cases[] = {
      {[](polysim::RunResults& r, float x) { r.block_yield(2, 1, 4, 3) = x; }, nan,
       "Results: the blocked yield of atom 4 at detection angle 3 in structure model 1, "
       "vibration model 2 is nan; no result file is written"},
      {[](polysim::RunResults& r, float x) { r.hit_probability(3, 2, 5) = x; }, -inf,
       "Results: the hitting probability of atom 5 in structure model 2, vibration model 3 is "
       "-inf; no result file is written"},
      {[](polysim::RunResults& r, float x) { r.overlayer_deflection_sum = x; }, inf,
       "Results: the overlayer deflection sum is inf; no result file is written"},
  };
  for (const auto& c : cases) {
    ScratchDir dir(true);
    polysim_test::ResultCase result = polysim_test::small_case();
    c.spoil(result.results, c.value);
    WriterRun run;
    EXPECT_THROW(run.write(result, "res"), polysim::JobAborted) << c.message;
    EXPECT_EQ(dir.read("run.status"), " ---------------------------------\n " +
                                          std::string(c.message) + "\n - Job aborted\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("res.0001")));
  }
}

}  // namespace
