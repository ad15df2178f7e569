// structfit run as a process on the bundled example and on broken set-ups: console text and
// exit status, and no wait for the console on any failure.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "../polysim/scratch_dir.h"
#include "fit_case.h"

namespace {

using polysim_test::ScratchDir;

const std::filesystem::path kExample =
    std::filesystem::path(IONBEAM_TEST_DATA) / "../../../examples/structfit";

struct Outcome {
  int status;
  std::string output;
};

// Runs structfit in `dir` with a console that stays open and never sends a line (a pipe
// whose write end this process holds): a program that waited for one would be stopped by
// the timeout (status 124).
// `environment` and `arguments` go before and after the program's name.
Outcome run_structfit(const ScratchDir& dir, const std::string& environment = "",
                      const std::string& arguments = "") {
  int console[2];
  if (pipe(console) != 0) return {-1, ""};
  const std::string command = "cd '" + dir.path().string() + "' && " + environment +
                              " timeout 60 '" + IONBEAM_BIN_DIR + "/structfit' " + arguments +
                              " 2>&1 < /dev/fd/" + std::to_string(console[0]);
  FILE* out = popen(command.c_str(), "r");
  std::string output;
  int status = -1;
  if (out != nullptr) {
    std::array<char, 4096> buffer{};
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), out)) {
      output.append(buffer.data(), n);
    }
    status = pclose(out);
  }
  close(console[0]);
  close(console[1]);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// The example's files in a scratch directory, bfgsin.dat with line `index` (0-based)
// replaced when `line` is given.
void copy_example(const ScratchDir& dir, int index = -1, const std::string& line = "") {
  for (const char* name : {"bfgsin.dat", "cu001_base.in", "cu001_blocking.exp"}) {
    std::filesystem::copy_file(kExample / name, dir.file(name));
  }
  if (index < 0) return;
  std::vector<std::string> lines = structfit_test::lines_of(dir.read("bfgsin.dat"));
  lines.at(static_cast<std::size_t>(index)) = line;
  dir.write("bfgsin.dat", structfit_test::joined(lines));
}

std::string last_lines(const std::string& text, int count) {
  std::size_t at = text.size();
  for (int k = 0; k <= count && at != std::string::npos && at > 0; ++k)
    at = text.rfind('\n', at - 1);
  return at == std::string::npos ? text : text.substr(at + 1);
}

constexpr const char* kStop = "Stop - Program terminated.\n";

std::string from_line(const std::string& text, const std::string& first) {
  const std::size_t at = text.find(first);
  return at == std::string::npos ? "" : text.substr(at);
}

// A fit of one parameter on a slab of few atoms and few ions; with this seed it converges in
// its first step. Resumed from the dump of that step's pass it repeats it to the same report.
TEST(StructfitProgram, TinyFitEndsWithItsReportAndResumesToTheSameEnd) {
  ScratchDir dir;
  for (const char* name : {"fit_case.exp", "tiny_fit_base.in"})
    dir.write(name, structfit_test::data_text(name));
  dir.write("bfgsin.dat", structfit_test::data_text("tiny_fit.dat"));
  const Outcome fit = run_structfit(dir, "IONBEAM_SEED=4");
  ASSERT_EQ(fit.status, 0) << fit.output;
  EXPECT_EQ(fit.output.substr(0, 23), " THERE ARE  1DATA SETS\n");
  EXPECT_EQ(dir.read("status.dat").substr(0, 52),
            " Starting Search\n Random seed:                    4\n");
  const std::string report = from_line(fit.output, " termination reason   5.0");
  EXPECT_EQ(last_lines(report, 1), kStop);
  const Outcome resumed = run_structfit(dir, "", "--resume");
  ASSERT_EQ(resumed.status, 0) << resumed.output;
  EXPECT_NE(resumed.output.find("Reloading search data from previous dump file"),
            std::string::npos);
  EXPECT_EQ(from_line(resumed.output, " termination reason"), report);
  EXPECT_NE(dir.read("status.dat").find(" Resuming Search\n Random seed:                    4\n"),
            std::string::npos);
}

TEST(StructfitProgram, RefusesAStrayArgumentAndAResumeWithoutDump) {
  ScratchDir dir;
  copy_example(dir);
  const Outcome stray = run_structfit(dir, "", "--resum");
  EXPECT_EQ(stray.status, 1);
  EXPECT_EQ(stray.output, std::string(" usage: structfit [--resume]\n") + kStop);
  const Outcome resume = run_structfit(dir, "", "--resume");
  EXPECT_EQ(resume.status, 1);
  EXPECT_EQ(last_lines(resume.output, 2),
            std::string(" no restart file fort.69: nothing to resume\n") + kStop);
}

TEST(StructfitProgram, FailuresStopAtOnceWithStatusOne) {
  struct Case {
    const char* name;
    int index;
    const char* line;
    std::string last;
  };
  const Case cases[] = {
      {"points above nine", 8, " 10", " DONT BE STUPID 9 PINTS IS ENOUGH FOR ANY MAN\n"},
      {"missing experiment file", 1, " gone.exp",
       " EXPT FILE " + std::string("gone.exp") + std::string(72, ' ') + "DOES NOT EXIST\n"},
      {"malformed record", 12, "   0.000   0.0x0",
       " bfgsin.dat, line 13: cannot read '  0.0x0 ' (columns 10-17) as a real for guess and "
       "step of parameter 1\n"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    copy_example(dir, c.index, c.line);
    const Outcome run = run_structfit(dir);
    EXPECT_EQ(run.status, 1) << c.name << "\n" << run.output;
    EXPECT_EQ(last_lines(run.output, 2), c.last + kStop) << c.name;
  }
  ScratchDir empty;
  const Outcome run = run_structfit(empty);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, std::string(" FILE BFGSIN.DAT DOES NOT EXIST\n") + kStop);
}

TEST(StructfitProgram, TableLongerThanTheBaseFileIsRefusedAtStart) {
  ScratchDir dir;
  copy_example(dir);
  // Parameter 1 gets 17 rows; the base file holds 16 atoms.
  std::vector<std::string> lines = structfit_test::lines_of(dir.read("bfgsin.dat"));
  lines.at(13) = " 17";
  lines.insert(lines.begin() + 15, 15, "   0.000  0.000  1.000  0.000  0.000  0.000");
  dir.write("bfgsin.dat", structfit_test::joined(lines));
  const Outcome run = run_structfit(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(last_lines(run.output, 3),
            " Parameters Successfully read-in\n"
            " cu001_base.in: parameter 1 has NAT = 17 rows, more than the file's 16 atoms\n" +
                std::string(kStop));
}

}  // namespace
