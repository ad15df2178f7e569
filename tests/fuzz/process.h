// Running one program under test as a child process with limits: CPU time, wall time,
// address space and file size, with its standard output and error caught in files.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fuzz {

struct Limits {
  // A lawful run of the harness's inputs takes well under a second.
  double cpu_seconds = 10.0;   // RLIMIT_CPU: a run beyond it hangs (load does not count)
  double wall_seconds = 60.0;  // killed after this, for a run that blocks without computing
  std::size_t address_space = std::size_t{1} << 30;  // RLIMIT_AS; 0: none (sanitizer builds)
  std::size_t file_size = std::size_t{256} << 20;    // RLIMIT_FSIZE, so no run fills the disk
};

struct Command {
  std::filesystem::path program;
  std::vector<std::string> args;
  std::filesystem::path cwd;
  std::vector<std::pair<std::string, std::string>> environment;  // set over the harness's own
  std::filesystem::path input;                                   // standard input; empty: /dev/null
};

struct ProcessResult {
  bool started = false;
  bool timed_out = false;  // killed by the harness at the wall limit
  int exit_code = -1;      // when it exited
  int signal = 0;          // when a signal ended it
  std::string out;         // the first bytes of standard output
  std::string err;         // the first bytes of standard error
};

// Runs `command` in its own process group and waits for it. `capture` is a directory outside
// any store for the output files.
ProcessResult run_process(const Command& command, const Limits& limits,
                          const std::filesystem::path& capture);

// The command as a shell line, for a reproducer.
std::string shell_line(const Command& command);

}  // namespace fuzz
