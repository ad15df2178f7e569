// Opening rules of the status file: replace at first, append later, fall back to
// "dump.status", the same lines to the console.
#include <gtest/gtest.h>

#include <sstream>

#include "polysim/run_errors.h"
#include "polysim/status_file.h"
#include "scratch_dir.h"

namespace {

using polysim_test::ScratchDir;

TEST(StatusFile, FirstGroupReplacesLaterGroupsAppendConsoleGetsTheSame) {
  ScratchDir dir;
  dir.write("run.status", "old run\n");
  std::ostringstream console;
  polysim::StatusFile status(dir.file("run.status").string(), console);
  status.write_group({" one", " two"});
  status.write_group({" three"});
  EXPECT_EQ(dir.read("run.status"), " one\n two\n three\n");
  EXPECT_EQ(console.str(), " one\n two\n three\n");
}

TEST(StatusFile, HeaderLines) {
  ScratchDir dir;
  std::ostringstream console;
  polysim::StatusFile status(dir.file("run.status").string(), console);
  polysim::write_status_header(status, "in.dat", "run");
  std::istringstream lines(dir.read("run.status"));
  std::string line;
  std::vector<std::string> all;
  while (std::getline(lines, line)) all.push_back(line);
  ASSERT_EQ(all.size(), 7u);
  EXPECT_EQ(all[0], " TRAVO polysim");
  EXPECT_EQ(all[1], " Simulation status");
  EXPECT_EQ(all[2], " -----------------");
  EXPECT_EQ(all[3], "");
  EXPECT_EQ(all[4].size(), 1u + 24 + 22 + 80);
  EXPECT_EQ(all[4].substr(25, 22 + 6), "  Reading input file: in.dat");
  EXPECT_EQ(all[5].substr(25, 24 + 3), "  Output file rootname: run");
  EXPECT_EQ(all[6], "");
  EXPECT_EQ(console.str(), dir.read("run.status"));
}

TEST(StatusFile, UnopenableNameFallsBackToDumpStatusInWorkingDirectory) {
  ScratchDir dir(true);
  std::ostringstream console;
  polysim::StatusFile status("no/such/dir/run.status", console);
  status.write_group({" first"});
  status.write_group({" second"});
  EXPECT_EQ(dir.read("dump.status"), " first\n second\n");
  EXPECT_EQ(std::filesystem::path(status.path()).filename(), "dump.status");
}

TEST(StatusFile, LaterFallBackRefusesAnExistingDump) {
  ScratchDir dir(true);
  dir.write("dump.status", "someone else's\n");
  std::ostringstream console;
  polysim::StatusFile status("run.status", console);
  status.write_group({" first"});
  std::filesystem::remove(dir.file("run.status"));
  std::filesystem::create_directory(dir.file("run.status"));  // appending now fails
  EXPECT_THROW(status.write_group({" second"}), polysim::FileError);
  EXPECT_EQ(dir.read("dump.status"), "someone else's\n");
}

}  // namespace
