// polysim run as a process in a scratch directory: its console text, status file and exit
// status on the finished and the failed paths.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>
#include <utility>

#include "polysim_process.h"
#include "sample_input.h"
#include "scratch_dir.h"

namespace {

using polysim_test::Outcome;
using polysim_test::run_polysim;
using polysim_test::sample_with;
using polysim_test::ScratchDir;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
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

// A device without line ends is refused after one capped line, not read until memory runs out.
TEST(PolysimProgram, InputWithoutLineEndsIsRefusedNamingFileAndLine) {
  ScratchDir dir;
  dir.write("polysim1.io", "/dev/zero\nrun\n");
  const Outcome run = run_polysim(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(
      contains(run.output, "polysim: /dev/zero, line 1: line longer than 1048576 characters"))
      << run.output;
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

// The reproducers of values that once finished with NaN or Inf, or never finished: each is
// refused before any ion runs, with exit status 1 and no result file.
TEST(PolysimProgram, ValuesOutsideTheirRangeStopBeforeAnyIon) {
  const std::pair<const char*, const char*> cases[] = {
      {" 1.8 0.0 0.0 2 1 1 0.1", " 1.8 0.0 0.0 2 1 1 1e-45"},
      {" 10.0 35.0 100.0 0.5 2.0", " 10.0 35.0 100.0 0.5 /"},
      {" 10.0 35.0 100.0 0.5 2.0", " 10.0 3.4e38 100.0 0.5 2.0"},
      {" 1 1.008 100.0 50.0 25.0", " 1 1.008 100.0 -50.0 25.0"},
      {" 3.6 3.6", " -1 3.6"},
      {" 1.8 0.0 0.0 2 1 1 0.1", " 1.8 0.0 1e38 2 1 1 0.1"},
      {" 2 1.5E15", " 2 1e20"},
      {" 2 1.5E15", " 2 1e38"},
  };
  for (const auto& change : cases) {
    ScratchDir dir;
    set_up_run(dir, sample_with(change.first, change.second));
    const Outcome run = run_polysim(dir);
    EXPECT_EQ(run.status, 1) << change.second << "\n" << run.output;
    EXPECT_TRUE(contains(dir.read("run.status"), " - Job aborted\n")) << change.second;
    EXPECT_FALSE(contains(run.output, "Starting shadowing calculation")) << change.second;
    EXPECT_FALSE(std::filesystem::exists(dir.file("run.0001"))) << change.second;
  }
}

// A run of polysim in `dir` as a child process, its address space limited to `limit` bytes
// (0: no limit); the exit status and the largest resident set, kB.
struct ChildRun {
  int status;
  long max_resident_kb;
};

ChildRun run_limited(const ScratchDir& dir, rlim_t limit) {
  const pid_t pid = fork();
  if (pid == 0) {
    const rlimit address_space{limit, limit};
    if (limit != 0 && setrlimit(RLIMIT_AS, &address_space) != 0) _exit(126);
    const int out = open(dir.file("console.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0 || chdir(dir.path().c_str()) != 0)
      _exit(126);
    execl(IONBEAM_BIN_DIR "/polysim", "polysim", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return {-1, 0};
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Dimension records of 10^7 to 10^9 atoms, cells or parameter descriptions in a short file.
const char* const kHugeRecords[] = {
    " 10000000 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3",
    " 1000000000 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3",
    " 10000000 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 10000000 10000000 10000000",
    " 4 2 10000000 1 2 10000001 2 3 5 2 3 1 1 7 7 2 1 2 3",
    " 4 2 2 1 100000000 3 2 100000001 5 2 3 1 1 7 7 2 1 2 3",
    " 4 2 2 1 2 3 2 3 5 2 3 100000000 1 7 7 100000000 1 2 3",
};
const char* const kSampleRecord = " 4 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3";

// Refused from the size of the file, before any table exists: a few MB of memory at most
// (the sanitizer's own shadow and allocator take about 20 MB).
TEST(PolysimProgram, HugeDimensionRecordInAShortFileIsRefusedInFewMegabytes) {
  const long most_kb = kAddressSanitizer ? 64 * 1024 : 16 * 1024;
  for (const char* record : kHugeRecords) {
    ScratchDir dir;
    set_up_run(dir, sample_with(kSampleRecord, record));
    const ChildRun run = run_limited(dir, 0);
    EXPECT_EQ(run.status, 1) << record;
    EXPECT_LT(run.max_resident_kb, most_kb) << record;
    EXPECT_TRUE(contains(dir.read("run.status"),
                         " Dimension record: these counts need an input file of at least "))
        << record << "\n"
        << dir.read("console.txt");
  }
}

// The same under an address-space limit of 64 MB, which no table of these counts fits in.
// The sanitizer reserves terabytes of address space for its shadow, so the limit cannot work
// there.
TEST(PolysimProgram, HugeDimensionRecordIsRefusedWithinSixtyFourMegabytesOfAddressSpace) {
  if (kAddressSanitizer) GTEST_SKIP() << "address-space limits do not work under the sanitizer";
  for (const char* record : kHugeRecords) {
    ScratchDir dir;
    set_up_run(dir, sample_with(kSampleRecord, record));
    EXPECT_EQ(run_limited(dir, rlim_t{64} << 20).status, 1) << record;
    EXPECT_TRUE(contains(dir.read("run.status"), " these counts need an input file of at least "))
        << record << "\n"
        << dir.read("console.txt");
  }
  ScratchDir dir;
  set_up_run(dir, polysim_test::sample_input());
  EXPECT_EQ(run_limited(dir, rlim_t{64} << 20).status, 0) << dir.read("console.txt");
}

}  // namespace
