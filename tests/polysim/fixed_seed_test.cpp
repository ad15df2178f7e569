// polysim at a fixed seed writes exactly the files it wrote when the expected files in
// data/fixed_seed were recorded, on 1, 2 or 3 threads: every result file byte for byte, and
// the status file and the console text with their date stamps masked. One case has two
// kinematic groups and random starts, one an overlayer, regular starts and three vibration
// models, and one grazing incidence (the walks along x and y) with atoms of every change
// class and twelve model pairs.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "fixed_seed_data.h"
#include "polysim_process.h"
#include "scratch_dir.h"

namespace {

using polysim_test::ScratchDir;

constexpr const char* kSeed = " IONBEAM_SEED=20240611";

// The full name of the result file is the one line that depends on the directory.
std::string without_directory(const std::string& text) {
  static const std::regex name_line("\n Outputfile:  [^\n]*\n");
  return std::regex_replace(text, name_line, "\n Outputfile:  <name>\n");
}

std::string without_stamps(const std::string& text) {
  static const std::regex stamp(
      "(^|\n) [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] "
      "[0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}");
  return std::regex_replace(text, stamp, "$1 <stamp>                 ");
}

// Result file n of the run with output root `root`: root.nnnn.
std::string result_name(const std::string& root, int n) {
  char number[8];
  std::snprintf(number, sizeof number, ".%04d", n);
  return root + number;
}

void expect_same_run(const std::string& root, int pairs, int threads) {
  SCOPED_TRACE(std::to_string(threads) + " threads");
  ScratchDir dir;
  dir.write("polysim1.io", root + ".in\n" + root + "\n");
  dir.write(root + ".in", polysim_test::fixed_seed_file(root + ".in"));
  const polysim_test::Outcome run =
      polysim_test::run_polysim(dir, "OMP_NUM_THREADS=" + std::to_string(threads) + kSeed);
  ASSERT_EQ(run.status, 0) << run.output;
  for (int n = 1; n <= pairs; ++n) {
    const std::string name = result_name(root, n);
    EXPECT_EQ(without_directory(dir.read(name)),
              without_directory(polysim_test::fixed_seed_file(name)))
        << name;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file(result_name(root, pairs + 1))));
  EXPECT_EQ(without_stamps(dir.read(root + ".status")),
            polysim_test::fixed_seed_file(root + ".status"));
  EXPECT_EQ(without_stamps(run.output), polysim_test::fixed_seed_file(root + ".console"));
}

TEST(PolysimFixedSeed, TwoKinematicGroupsWriteTheRecordedFilesAtAnyThreadCount) {
  for (const int threads : {1, 2, 3}) expect_same_run("groups", 4, threads);
}

TEST(PolysimFixedSeed, OverlayerRunWritesTheRecordedFilesAtAnyThreadCount) {
  for (const int threads : {1, 2, 3}) expect_same_run("overlayer", 6, threads);
}

TEST(PolysimFixedSeed, GrazingRunWithEveryChangeClassWritesTheRecordedFiles) {
  expect_same_run("grazing", 12, 2);
}

}  // namespace
