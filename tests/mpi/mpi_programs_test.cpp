// The MPI programs under mpirun with 1, 2 and 3 ranks on this machine: polysim's and
// monosim's files of a fixed seed are those of a single process byte for byte (runs of one
// block, and runs of several blocks dealt out over the ranks); structfit's embedded
// simulations and a whole small fit write the same files and console lines; a failure on
// rank 0 or on a worker ends the job with exit status 1 and its message once, without a hang.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/fixed_tables.h"
#include "fixed_seed_data.h"
#include "polysim/input_reader.h"
#include "polysim/prepared_run.h"
#include "polysim_process.h"
#include "scratch_dir.h"
#include "structfit/run_simulation.h"
#include "tally_print.h"

namespace {

using polysim_test::Outcome;
using polysim_test::ScratchDir;

constexpr std::int64_t kSeed = 20240611;

// `command` run in `dir` with the test's seed on one thread, standard input closed; ended
// after 120 s so that a hang fails the test instead of stalling the suite.
Outcome run_in(const ScratchDir& dir, const std::string& command,
               const std::string& environment = "") {
  const std::string line = "cd '" + dir.path().string() + "' && " + environment +
                           " IONBEAM_SEED=" + std::to_string(kSeed) +
                           " OMP_NUM_THREADS=1 timeout 120 " + command + " 2>&1 </dev/null";
  FILE* pipe = popen(line.c_str(), "r");
  if (pipe == nullptr) return {-1, ""};
  std::string output;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// mpirun with `ranks` processes of `command` in `dir`.
Outcome run_mpi(const ScratchDir& dir, int ranks, const std::string& command,
                const std::string& environment = "") {
  const std::string root = geteuid() == 0 ? " --allow-run-as-root" : "";
  return run_in(dir,
                "mpirun" + root + " --oversubscribe -np " + std::to_string(ranks) + " " + command,
                environment);
}

// The text of the file at `path`.
std::string file_at(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Copies the fit test file `name` into `dir` as `as`.
void copy_fit_data(const ScratchDir& dir, const std::string& name, const std::string& as) {
  std::filesystem::copy_file(std::filesystem::path(IONBEAM_FIT_DATA) / name, dir.file(as));
}

std::string bin(const char* program) {
  return std::string("'" IONBEAM_BIN_DIR "/") + program + "'";
}

std::string without_stamps(const std::string& text) {
  static const std::regex stamp(
      "(^|\n) [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] "
      "[0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}");
  return std::regex_replace(text, stamp, "$1 <stamp>                 ");
}

std::string without_directory(const std::string& text) {
  static const std::regex name_line("\n Outputfile:  [^\n]*\n");
  return std::regex_replace(text, name_line, "\n Outputfile:  <name>\n");
}

// Sets up `root`.in with polysim1.io pointing at it.
void set_up_run(const ScratchDir& dir, const std::string& root, const std::string& input) {
  dir.write("polysim1.io", root + ".in\n" + root + "\n");
  dir.write(root + ".in", input);
}

// What a run with output root `root` and `pairs` model pairs wrote (read(name) gives a file),
// and its console text, as one text with the date stamps and the directory masked.
template <typename Read>
std::string run_record(Read read, const std::string& root, int pairs, const std::string& console) {
  std::string record = without_stamps(console) + without_stamps(read(root + ".status"));
  for (int n = 1; n <= pairs; ++n)
    record += without_directory(read(root + ".000" + std::to_string(n)));
  return record;
}

// The fixed-seed reference runs were recorded by a single process.
void expect_recorded_files(const std::string& root, int pairs,
                           const std::vector<int>& rank_counts) {
  const std::string recorded = run_record(polysim_test::fixed_seed_file, root, pairs,
                                          polysim_test::fixed_seed_file(root + ".console"));
  for (const int ranks : rank_counts) {
    ScratchDir dir;
    set_up_run(dir, root, polysim_test::fixed_seed_file(root + ".in"));
    const Outcome run = run_mpi(dir, ranks, bin("polysim-mpi"));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run_record([&](const std::string& name) { return dir.read(name); }, root, pairs,
                         run.output),
              recorded)
        << root << " on " << ranks << " ranks";
  }
}

TEST(PolysimMpi, WritesTheSingleProcessFilesOnOneTwoAndThreeRanks) {
  expect_recorded_files("groups", 4, {1, 2, 3});
  expect_recorded_files("overlayer", 6, {3});
}

// The reference run with a shadowing flux of 55000 ions per square angstrom: a shadowing run
// of three blocks (583,000 ions: two full ones and part of a third), dealt out over the ranks,
// and small blocking runs.
std::string many_block_input() {
  std::string input = polysim_test::fixed_seed_file("groups.in");
  const std::string flux_line = " 1 1.008 100.0 50.0 25.0";
  input.replace(input.find(flux_line), flux_line.size(), " 1 1.008 100.0 55000.0 25.0");
  return input;
}

// The exact sums of every run of a single process, on two threads.
std::string single_process_sums(const ScratchDir& dir, const std::string& input_name) {
  const engine::FixedTables tables = engine::build_fixed_tables();
  polysim::SilentStatusLines lines;
  const polysim::PreparedRun run = polysim::prepare_run(
      polysim::read_simulation_input(dir.file(input_name).string(), lines), tables);
  polysim::LocalIonRuns local;
  mpi_test::PrintedRuns printed(local);
  polysim::SilentProgress silent;
  polysim::simulate(run, tables, {kSeed, 2}, silent, printed);
  return printed.text();
}

// The result files round the sums to a few digits; the sums themselves are compared to the
// last bit.
TEST(PolysimMpi, RunsOfSeveralBlocksAddUpAsInOneProcess) {
  ScratchDir dir;
  dir.write("many.in", many_block_input());
  const std::string sums = single_process_sums(dir, "many.in");
  for (const int ranks : {2, 3}) {
    const Outcome run = run_mpi(dir, ranks,
                                std::string("'" IONBEAM_CHECK_DIR "/mpi_simulation_check' ") +
                                    std::to_string(kSeed) + " many.in --sums");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, sums) << ranks << " ranks";
  }
}

// Two evaluations in one job, each writing out1.000n (the second overwrites the first as a
// fit's next evaluation does) and outB.000n.
TEST(StructfitMpi, EmbeddedSimulationsWriteTheSingleProcessFilesAndConsole) {
  const std::string input = polysim_test::fixed_seed_file("groups.in");
  ScratchDir single(true);
  single.write("inmulti.in", input);
  std::ostringstream console;
  const engine::FixedTables tables = engine::build_fixed_tables();
  for (const char* root : {"out1", "out1", "out2"})
    structfit::run_simulation("inmulti.in", root, tables, kSeed, console);
  for (const int ranks : {2, 3}) {
    SCOPED_TRACE(std::to_string(ranks) + " ranks");
    ScratchDir dir;
    dir.write("inmulti.in", input);
    const Outcome run = run_mpi(dir, ranks,
                                std::string("'" IONBEAM_CHECK_DIR "/mpi_simulation_check' ") +
                                    std::to_string(kSeed) + " inmulti.in out1 out1 out2");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, console.str());
    for (const char* root : {"out1", "out2"}) {
      for (int n = 1; n <= 4; ++n) {
        const std::string name = structfit::short_result_path(root, n);
        EXPECT_EQ(dir.read(name), single.read(name)) << name;
      }
    }
  }
}

// Counts the lines of `text` that contain `part`.
int lines_with(const std::string& text, const std::string& part) {
  std::istringstream lines(text);
  int count = 0;
  for (std::string line; std::getline(lines, line);) count += line.find(part) != std::string::npos;
  return count;
}

TEST(PolysimMpi, AFailureEndsEveryRankWithOneMessage) {
  {
    SCOPED_TRACE("rank 0 cannot open the input");
    ScratchDir dir;
    dir.write("polysim1.io", "missing.in\nmissing\n");
    const Outcome run = run_mpi(dir, 3, bin("polysim-mpi"));
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(lines_with(run.output, "Error opening input file!"), 1) << run.output;
    EXPECT_EQ(lines_with(run.output, "Stop - Program terminated."), 1) << run.output;
  }
  {
    SCOPED_TRACE("a worker cannot write its copy of the input");
    ScratchDir dir;
    set_up_run(dir, "groups", polysim_test::fixed_seed_file("groups.in"));
    const Outcome run = run_mpi(
        dir, 1, bin("polysim-mpi") + " : -np 1 env TMPDIR=/nonexistent " + bin("polysim-mpi"));
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(lines_with(run.output, "polysim: rank 1: cannot create a copy of the input"), 1)
        << run.output;
    EXPECT_EQ(lines_with(without_stamps(dir.read("groups.status")), "JOB SUCCESSFULLY"), 0);
  }
}

// A fit of one parameter on a slab of few atoms and few ions (two function and two gradient
// evaluations): the same console, logs, final parameters and last skew files on two ranks as
// in one process.
TEST(StructfitMpi, TinyFitWritesTheSingleProcessLogsAndReport) {
  const auto set_up = [](const ScratchDir& dir) {
    for (const char* name : {"fit_case.exp", "tiny_fit_base.in"}) copy_fit_data(dir, name, name);
    copy_fit_data(dir, "tiny_fit.dat", "bfgsin.dat");
  };
  ScratchDir single;
  set_up(single);
  const Outcome expected = run_in(single, bin("structfit"));
  ASSERT_EQ(expected.status, 0) << expected.output;
  ScratchDir dir;
  set_up(dir);
  const Outcome run = run_mpi(dir, 2, bin("structfit-mpi"));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, expected.output);
  for (const char* name : {"status.dat", "rfactor.dat", "rfactor2.dat", "skew1.0003"})
    EXPECT_EQ(dir.read(name), single.read(name)) << name;
}

TEST(StructfitMpi, AMissingSetUpEndsEveryRankWithOneMessage) {
  ScratchDir dir;
  const Outcome run = run_mpi(dir, 3, bin("structfit-mpi"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output.rfind(" FILE BFGSIN.DAT DOES NOT EXIST\nStop - Program terminated.\n", 0),
            0u)
      << run.output;
  EXPECT_EQ(lines_with(run.output, "DOES NOT EXIST"), 1) << run.output;
}

// The MPI programs answer --help and --version before MPI starts, so without mpirun.
TEST(MpiPrograms, AnswerHelpAndVersionWithoutMpirun) {
  ScratchDir dir;
  for (const char* program : {"polysim-mpi", "monosim-mpi", "structfit-mpi"}) {
    const Outcome help = run_in(dir, bin(program) + " --help");
    EXPECT_EQ(help.status, 0) << program;
    EXPECT_EQ(help.output.rfind("Usage: mpirun -np N " + std::string(program), 0), 0u)
        << help.output;
    EXPECT_NE(help.output.find("See README.md, section \"Running on a cluster (MPI)\"."),
              std::string::npos)
        << help.output;
    const Outcome version = run_in(dir, bin(program) + " --version");
    EXPECT_EQ(version.status, 0) << program;
    EXPECT_EQ(version.output.rfind(std::string(program) + " ", 0), 0u) << version.output;
  }
}

// monosim's fixed-seed reference input as recorded (runs of one block each, dealt out whole)
// and with a shadowing flux of 40000 ions per square angstrom (a shadowing run of 628,000
// ions: three blocks over the ranks).
std::vector<std::string> monosim_inputs() {
  const std::string recorded = file_at(IONBEAM_MONO_DATA "/fixed_seed/column.in");
  std::string many = recorded;
  const std::string flux_line = " 1 1.008 100.0 60 60";
  many.replace(many.find(flux_line), flux_line.size(), " 1 1.008 100.0 40000 60");
  return {recorded, many};
}

// The result file, out.status and console lines of monosim in `dir`, date stamps masked.
std::string monosim_record(const ScratchDir& dir, const Outcome& run) {
  return dir.read("column.out") + without_stamps(dir.read("out.status")) +
         without_stamps(run.output);
}

TEST(MonosimMpi, WritesTheSingleProcessFilesOnOneTwoAndThreeRanks) {
  const auto set_up = [](const ScratchDir& dir, const std::string& input) {
    dir.write("monosim1.io", "column.in\ncolumn.out\n");
    dir.write("column.in", input);
  };
  for (const std::string& input : monosim_inputs()) {
    ScratchDir single;
    set_up(single, input);
    const Outcome expected = run_in(single, bin("monosim"));
    ASSERT_EQ(expected.status, 0) << expected.output;
    for (const int ranks : {1, 2, 3}) {
      ScratchDir dir;
      set_up(dir, input);
      const Outcome run = run_mpi(dir, ranks, bin("monosim-mpi"));
      ASSERT_EQ(run.status, 0) << run.output;
      EXPECT_EQ(monosim_record(dir, run), monosim_record(single, expected)) << ranks << " ranks";
    }
  }
  ScratchDir dir;
  set_up(dir, monosim_inputs()[0]);
  const Outcome run = run_mpi(
      dir, 1, bin("monosim-mpi") + " : -np 1 env TMPDIR=/nonexistent " + bin("monosim-mpi"));
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_EQ(lines_with(run.output, "monosim: rank 1: cannot create a copy of the input"), 1)
      << run.output;
  EXPECT_EQ(lines_with(dir.read("out.status"), "JOB SUCCESSFULLY"), 0);
}

}  // namespace
