// polysim run as a process in a scratch directory: its console text, status file and exit
// status on the finished and the failed paths.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "sample_input.h"
#include "scratch_dir.h"

namespace {

using polysim_test::ScratchDir;

struct Outcome {
  int status;
  std::string output;  // standard output and standard error together
};

// Runs polysim in `dir`; `environment` is prefixed to the command (e.g. "NAME=value").
Outcome run_polysim(const ScratchDir& dir, const std::string& environment = "") {
  const std::string command =
      "cd '" + dir.path().string() + "' && " + environment + " '" IONBEAM_BIN_DIR "/polysim' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, ""};
  std::string output;
  std::array<char, 4096> buffer{};
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
    output.append(buffer.data(), n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The sample input with its first `from` replaced by `to`.
std::string sample_with(const std::string& from, const std::string& to) {
  std::string text = polysim_test::sample_input();
  text.replace(text.find(from), from.size(), to);
  return text;
}

// A run directory: the pointer file names "slab.in" and the root "run"; slab.in holds `input`.
void set_up_run(const ScratchDir& dir, const std::string& input) {
  dir.write("polysim1.io", "slab.in\nrun\n");
  dir.write("slab.in", input);
}

// Every status line in its order, then one result file per model pair.
TEST(PolysimProgram, RunsFromPointerFileToCompletionLine) {
  ScratchDir dir;
  dir.write("polysim1.io", "slab.in\nrun7.old\n");
  dir.write("slab.in", polysim_test::sample_input());
  const Outcome run = run_polysim(dir, "IONBEAM_SEED=7");
  EXPECT_EQ(run.status, 0) << run.output;
  const std::string status = dir.read("run7.status");
  EXPECT_EQ(status.substr(0, 14), " TRAVO polysim");
  std::size_t at = 0;
  for (const char* line :
       {"  Reading multimodel parameters\n", "  Warning: atom 1, vibration model 3:",
        "  Warning: atom 1, structure model 2:", "  Starting shadowing calculation\n",
        "  Starting blocking calculations:           5  angles\n",
        "  Finished blocking angle             1\n", "  Finished blocking angle             5\n",
        "  Writing output files: run7.old", ".nnn\n",
        " ----------------- JOB SUCCESSFULLY COMPLETED -----------------\n"}) {
    const std::size_t found = status.find(line, at);
    ASSERT_NE(found, std::string::npos) << line << "\n" << status;
    at = found;
  }
  EXPECT_TRUE(contains(run.output, " Readin crystal\n"));
  EXPECT_TRUE(contains(run.output, "  Warning: atom 1, structure model 2: shift 0.082 A"));
  EXPECT_EQ(run.output.substr(run.output.size() - 27), "Stop - Program terminated.\n");
  for (const char* name : {"run7.0001", "run7.0002", "run7.0006"})
    EXPECT_TRUE(contains(dir.read(name), " SHADOWING OUTPUT:")) << name;
  EXPECT_FALSE(std::filesystem::exists(dir.file("run7.0007")));
}

TEST(PolysimProgram, SameSeedRepeatsTheRunExactly) {
  ScratchDir dir;
  set_up_run(dir, sample_with(" 0 1 1 0 0 0 0 1", " 1 1 1 0 0 0 0 1"));  // random starts
  ASSERT_EQ(run_polysim(dir, "IONBEAM_SEED=99").status, 0);
  const std::string first = dir.read("run.0004");
  ASSERT_EQ(run_polysim(dir, "IONBEAM_SEED=99").status, 0);
  EXPECT_EQ(dir.read("run.0004"), first);
  ASSERT_EQ(run_polysim(dir, "IONBEAM_SEED=100").status, 0);
  EXPECT_NE(dir.read("run.0004"), first);
}

TEST(PolysimProgram, ExitDirectionBelowTheSurfaceIsRefused) {
  ScratchDir dir;
  set_up_run(dir, sample_with(" 10.0 35.0 100.0 0.5 2.0", " 10.0 35.0 40.0 0.5 2.0"));
  const Outcome run = run_polysim(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(dir.read("run.status"), " Detection angle 1 = 40 degree: the exit "))
      << dir.read("run.status");
  EXPECT_FALSE(std::filesystem::exists(dir.file("run.0001")));
}

TEST(PolysimProgram, MissingPointerFileIsOneClearMessage) {
  ScratchDir dir;
  const Outcome run = run_polysim(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.output, "polysim1.io")) << run.output;
}

TEST(PolysimProgram, MissingInputFileAbortsWithBanner) {
  ScratchDir dir;
  dir.write("polysim1.io", "absent.in\nrun\n");
  const Outcome run = run_polysim(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(dir.read("run.status"), " Error opening input file!\n - Job aborted\n"));
  EXPECT_TRUE(contains(run.output, "**** You've made at least one serious error ****"));
  EXPECT_EQ(run.output.substr(run.output.size() - 27), "Stop - Program terminated.\n");
}

TEST(PolysimProgram, InvalidFlagsAbortWithoutBanner) {
  ScratchDir dir;
  set_up_run(dir, sample_with(" 0 1 1 0 0 0 0 1", " 0 1 1 0 0 0 0 2"));
  const Outcome run = run_polysim(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(dir.read("run.status"), " Not a valid polysim input file!\n"));
  EXPECT_FALSE(contains(run.output, "serious error"));
}

TEST(PolysimProgram, BadDimensionRecordsAbortBeforeAnyTable) {
  const char* records[] = {
      " 4 2 2 1 2 9 2 3 5 2 3 1 1 7 7 2 1 2 3",              // N6 not N3 + 1
      " 4 2 2 1 2 3 2 3 0 2 3 1 1 7 7 2 1 2 3",              // no detection angle
      " 4 2 2 1 2 3 2 3 5 2 3 1 1 7 7 0 1 2 3",              // N16 below N12
      " 4 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 8",              // N19 beyond N1
      " 4 2 2 1 2 3 2 3 5 100 100 1 1 7 7 2 1 2 3",          // 10000 model pairs
      " 4 2 -2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3",             // negative count
      " 4 2 2 1 2 3 2 3 2000000000 2000 3 1 1 7 7 2 1 2 3",  // tables beyond memory
  };
  for (const char* record : records) {
    ScratchDir dir;
    set_up_run(dir, sample_with(" 4 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3", record));
    const Outcome run = run_polysim(dir);
    EXPECT_EQ(run.status, 1) << record;
    EXPECT_TRUE(contains(run.output, " ---------------------------------\n Dimension record: "))
        << record << "\n"
        << run.output;
    EXPECT_TRUE(contains(dir.read("run.status"), " - Job aborted\n")) << record;
  }
}

TEST(PolysimProgram, MalformedInputNamesFileAndLine) {
  ScratchDir dir;
  set_up_run(dir, sample_with(" 29 63.546", " 29 heavy"));
  const Outcome run = run_polysim(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.output, "slab.in, line 5")) << run.output;
  EXPECT_TRUE(contains(dir.read("run.status"), " TRAVO polysim\n"));
}

TEST(PolysimProgram, ZeroAmplitudeAbortsNamingTheAtom) {
  ScratchDir dir;
  set_up_run(dir, sample_with(" 1.8 0.0 0.0 2 1 1 0.1", " 1.8 0.0 0.0 2 1 1 0.0"));
  const Outcome run = run_polysim(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(dir.read("run.status"), "atom_sigma")) << dir.read("run.status");
  EXPECT_TRUE(contains(dir.read("run.status"), " - Job aborted\n"));
}

TEST(PolysimProgram, SeedVariableThatIsNoIntegerIsRefused) {
  ScratchDir dir;
  set_up_run(dir, polysim_test::sample_input());
  EXPECT_EQ(run_polysim(dir, "IONBEAM_SEED=12345").status, 0);
  const Outcome run = run_polysim(dir, "IONBEAM_SEED=12x");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.output, "IONBEAM_SEED")) << run.output;
}

// A directory bracket past column 53 leaves no room for ".nnnn": refused before any ion runs.
TEST(PolysimProgram, RootCutTooFarRightForResultNumbersIsRefused) {
  ScratchDir dir;
  const std::string root = std::string(54, 'r') + "]x";  // the cut falls on the bracket
  dir.write("polysim1.io", "slab.in\n" + root + "\n");
  dir.write("slab.in", polysim_test::sample_input());
  const Outcome run = run_polysim(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.output, " Output root: result file name column 55 outside 1..53\n"))
      << run.output;
  EXPECT_FALSE(contains(run.output, "Starting shadowing calculation"));
}

}  // namespace
