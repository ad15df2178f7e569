// The restart dump: its record layout, refusal of torn or foreign dumps, and a resumed run
// that continues exactly as the uninterrupted one.
#include <gtest/gtest.h>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "domin_case.h"
#include "structfit/domin.h"
#include "structfit/domin_dump.h"

namespace {

using domin_case::rosenbrock;
using domin_case::temp_path;
using structfit::DominCallbacks;
using structfit::DominOptions;
using structfit::MinimizerState;

struct Outcome {
  MinimizerState st;
  std::vector<float> x;
  std::string step_log;
};

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

Outcome minimize(const DominCallbacks& cb, bool resume) {
  DominOptions options;
  options.tolerance = 1e-8F;
  options.resume = resume;
  options.step_log = temp_path(".res");
  options.restart_file = temp_path(".69");
  std::vector<float> x{-1.2F, 1.0F};
  std::ostringstream console;
  MinimizerState st = structfit::domin(x, cb, options, console);
  return {st, x, read_bytes(options.step_log)};
}

std::int32_t int_at(const std::string& bytes, std::size_t offset) {
  std::int32_t v = 0;
  std::memcpy(&v, bytes.data() + offset, sizeof v);
  return v;
}

TEST(DominDump, ResumedRunEndsExactlyAsTheUninterruptedOne) {
  const Outcome whole = minimize(rosenbrock(), false);
  ASSERT_GT(whole.st.step, 12);
  // Stop after the tenth pass: the dump then holds the state at the head of that pass.
  DominCallbacks stopping = rosenbrock();
  int tests = 0;
  stopping.converged = [&] { return ++tests == 10; };
  const Outcome stopped = minimize(stopping, false);
  const Outcome resumed = minimize(rosenbrock(), true);
  std::filesystem::remove(temp_path(".69"));
  std::filesystem::remove(temp_path(".res"));
  EXPECT_EQ(resumed.x, whole.x);
  EXPECT_EQ(resumed.st.termination, whole.st.termination);
  EXPECT_EQ(resumed.st.step, whole.st.step);
  EXPECT_EQ(resumed.st.function_calls, whole.st.function_calls);
  EXPECT_EQ(resumed.st.gradient_calls, whole.st.gradient_calls);
  EXPECT_EQ(resumed.st.updates, whole.st.updates);
  EXPECT_EQ(resumed.st.protocol, whole.st.protocol);
  EXPECT_EQ(resumed.st.a, whole.st.a);
  EXPECT_EQ(resumed.st.b, whole.st.b);
  // The step log keeps the passes before the interruption and continues after them.
  ASSERT_GT(stopped.step_log.size(), std::string("Started Search").size() + 2);
  EXPECT_EQ(resumed.step_log.substr(0, stopped.step_log.size()), stopped.step_log);
  EXPECT_EQ(resumed.step_log.find("Started Search", stopped.step_log.size()),
            stopped.step_log.size() + 1);  // after the blank of list-directed output
}

TEST(DominDump, AResumedRunStopsAtTheStepLimit) {
  // A dump moved on to step 2998 leaves two passes: the third ends the run with reason −2
  // and the short protocol.
  DominCallbacks stopping = rosenbrock();
  stopping.converged = [] { return true; };
  minimize(stopping, false);
  std::vector<float> scale;
  MinimizerState st = structfit::read_restart_file(temp_path(".69"), 2, scale);
  st.step = 2998;
  structfit::write_restart_file(temp_path(".69"), st, scale);
  const Outcome resumed = minimize(rosenbrock(), true);
  std::filesystem::remove(temp_path(".69"));
  std::filesystem::remove(temp_path(".res"));
  EXPECT_EQ(resumed.st.termination, structfit::reason::step_limit);
  EXPECT_EQ(resumed.st.step, 3000);
  EXPECT_EQ(resumed.st.protocol[2999], 3000.0F);  // step number of the last row
}

TEST(DominDump, SixteenFramedRecordsAndTheScalingVector) {
  const std::string path = temp_path(".layout");
  MinimizerState st = structfit::make_minimizer_state(2, {3.0F, 4.0F});
  st.step = 17;
  st.modsteps = 5;
  structfit::write_restart_file(path, st, {0.5F, 2.0F});
  const std::string bytes = read_bytes(path);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
  const int n = 2;
  const std::vector<std::int32_t> lengths{
      20,   8,  24, 8, 12, 12,        16,        16,
      16,   12, 12, 8, 16, 7 * n * 4, 5 * n * 4, (2 * n * n + 3000 * 14) * 4,
      n * 4};
  std::size_t offset = 0;
  std::vector<std::size_t> data;  // where each record's items begin
  for (std::size_t r = 0; r < lengths.size(); ++r) {
    ASSERT_LE(offset + 8 + static_cast<std::size_t>(lengths[r]), bytes.size()) << r;
    EXPECT_EQ(int_at(bytes, offset), lengths[r]) << "record " << r + 1;
    data.push_back(offset + 4);
    EXPECT_EQ(int_at(bytes, offset + 4 + static_cast<std::size_t>(lengths[r])), lengths[r]);
    offset += 8 + static_cast<std::size_t>(lengths[r]);
  }
  EXPECT_EQ(offset, bytes.size());
  EXPECT_EQ(int_at(bytes, data[1]), 2);         // n
  EXPECT_EQ(int_at(bytes, data[2] + 20), 5);    // modsteps
  EXPECT_EQ(int_at(bytes, data[3]), 17);        // step counter
  EXPECT_EQ(int_at(bytes, data[3] + 4), 3000);  // step limit

  std::vector<float> scale;
  const MinimizerState back = structfit::read_restart_file(path, 2, scale);
  EXPECT_EQ(back.step, 17);
  EXPECT_EQ(back.eps, st.eps);
  EXPECT_EQ(back.start, st.start);
  EXPECT_EQ(scale, (std::vector<float>{0.5F, 2.0F}));
  std::filesystem::remove(path);
}

TEST(DominDump, TornMissingOrForeignDumpsAreRefused) {
  const std::string path = temp_path(".torn");
  const MinimizerState st = structfit::make_minimizer_state(3, {1.0F, 2.0F, 3.0F});
  structfit::write_restart_file(path, st, {1.0F, 1.0F, 1.0F});
  std::vector<float> scale;
  EXPECT_THROW(structfit::read_restart_file(path, 2, scale), structfit::RestartFileError);
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 6);
  EXPECT_THROW(structfit::read_restart_file(path, 3, scale), structfit::RestartFileError);
  std::filesystem::remove(path);
  EXPECT_THROW(structfit::read_restart_file(path, 3, scale), structfit::RestartFileError);
}

TEST(DominDump, ReadsAndRewritesAFortranWrittenDumpByteForByte) {
  const std::string fortran =
      (std::filesystem::path(IONBEAM_TEST_DATA) / "domin_dump_n2.bin").string();
  std::vector<float> scale;
  const MinimizerState st = structfit::read_restart_file(fortran, 2, scale);
  EXPECT_EQ(st.protocol_flag, 1);
  EXPECT_EQ(st.no_progress, 3);
  EXPECT_EQ(st.start_mode, 1);
  EXPECT_EQ(st.function_calls, 11);
  EXPECT_EQ(st.modsteps, 16);
  EXPECT_EQ(st.step, 17);
  EXPECT_EQ(st.f, 0.25F);          // first real of record 5
  EXPECT_EQ(st.step_scale, 4.5F);  // last of record 9
  EXPECT_EQ(st.eps, 5.5F);         // first of record 11
  EXPECT_EQ(st.termination, 7.25F);
  EXPECT_EQ(st.x, (std::vector<float>{101.0F, 102.0F}));
  EXPECT_EQ(st.s, (std::vector<float>{113.0F, 114.0F}));
  EXPECT_EQ(st.start, (std::vector<float>{209.0F, 210.0F}));
  EXPECT_EQ(st.a[2], -3.0F);  // A(1,2): column by column
  EXPECT_EQ(st.b[0], -5.0F);
  EXPECT_EQ(st.protocol.back(), -42008.0F);
  EXPECT_EQ(scale, (std::vector<float>{0.5F, 2.0F}));
  const std::string path = temp_path(".rewritten");
  structfit::write_restart_file(path, st, scale);
  EXPECT_EQ(read_bytes(path), read_bytes(fortran));
  std::filesystem::remove(path);
}

}  // namespace
