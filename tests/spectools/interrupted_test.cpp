// Tools killed while they replace a spectrum, and tools that fail: the target is afterwards
// either the old spectrum, whole, or the complete new one, never a torn mixture; hidden files
// of the killed tools go at the next connect.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tool_fixture.h"

namespace {

using namespace tool_test;
using Clock = std::chrono::steady_clock;

// Starts IONBEAM_BIN_DIR/<tool> with `args` in `experiment` (also its EXPERIMENTDIR), its
// output thrown away.
pid_t start_tool(const std::string& tool, const std::vector<std::string>& args,
                 const std::string& experiment) {
  const std::string program = (std::filesystem::path(IONBEAM_BIN_DIR) / tool).string();
  std::vector<const char*> argv{program.c_str()};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null < 0 || dup2(null, 1) < 0 || dup2(null, 2) < 0 || chdir(experiment.c_str()) != 0 ||
        setenv("EXPERIMENTDIR", experiment.c_str(), 1) != 0) {
      _exit(127);
    }
    execv(program.c_str(), const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  return child;
}

// Exit status of the child, or -1 when a signal ended it.
int wait_for(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Interrupted {
  std::string tool;
  std::vector<std::string> args;  // source "src", target "dst"
};

class Interruption : public ToolProcessTest {
 protected:
  // The spectrum the tools replace: small, with a record, unlike any of their results.
  void make_old_target() {
    make_plane("dst", 5, 7, 3, {1, 2, 3, 4, 5, 6}, ZQ_INT16, 4);
    set_record(spectools::RecordKind::information, "dst", 1, "old");
  }

  bool is_old_target() {
    const Spectrum dst = read("dst");
    return dst.ranges == std::array<int, 2>{3, 2} && dst.counts == Counts{1, 2, 3, 4, 5, 6} &&
           information("dst", 1) == "old";
  }

  std::vector<std::string> hidden_entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      const std::string name = entry.path().filename().string();
      if (name.front() == '.') names.push_back(name);
    }
    return names;
  }
};

TEST_F(Interruption, AKilledToolLeavesTheOldTargetOrTheWholeNewOne) {
#ifdef __SANITIZE_ADDRESS__
  constexpr int kSide = 512;  // the tools run several times slower there
#else
  constexpr int kSide = 1024;
#endif
  constexpr int kKills = 6;
  make("src", {0, 0}, {kSide, kSide}, [](int i1, int i2) { return (i1 + 3 * i2) % 1000; });
  set_record(spectools::RecordKind::information, "src", 1, "new");
  const std::string window = std::to_string(kSide - 24);
  const Interrupted tools[] = {
      {"histcopy", {"src", "dst"}},
      {"regioncopy", {"src", "dst", "7", window, "9", window}},
      {"binshrink", {"src", "dst", "3"}},
  };
  std::mt19937 random(20240611);
  for (const Interrupted& tool : tools) {
    make_old_target();
    const Clock::time_point begin = Clock::now();
    ASSERT_EQ(wait_for(start_tool(tool.tool, tool.args, dir_.str())), 0) << tool.tool;
    const auto whole_run = Clock::now() - begin;
    const Spectrum complete = read("dst");

    // Kills spread over the whole run and a little beyond, one in each of kKills spans.
    std::uniform_real_distribution<double> within(0.0, 1.0);
    for (int kill_number = 0; kill_number < kKills; ++kill_number) {
      make_old_target();
      const double share = (kill_number + within(random)) / kKills * 1.1;
      const pid_t child = start_tool(tool.tool, tool.args, dir_.str());
      std::this_thread::sleep_for(std::chrono::duration_cast<Clock::duration>(whole_run * share));
      kill(child, SIGKILL);
      wait_for(child);
      const Spectrum dst = read("dst");
      const bool whole_new = dst.ranges == complete.ranges && dst.counts == complete.counts &&
                             information("dst", 1) == "new";
      EXPECT_TRUE(is_old_target() || whole_new) << tool.tool << " killed at " << share;
    }
  }
  ASSERT_EQ(ZQconnectExperiment("capabilities"), 0);
  EXPECT_TRUE(hidden_entries().empty());
}

TEST_F(Interruption, AFailingToolLeavesTheOldTarget) {
  make_line("small", 0, {-100, 100}, ZQ_INT8);  // its complement does not fit int8
  make_old_target();
  const Outcome outcome = run("histcopy", {"small", "dst"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_TRUE(is_old_target());
  EXPECT_TRUE(hidden_entries().empty());
}

}  // namespace
