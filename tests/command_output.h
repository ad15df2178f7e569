// A shell command run for a test: its exit status and its output (standard output and
// standard error together when the command redirects them).
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace ionbeam_test {

struct CommandOutput {
  int status;  // exit status, -1 when the command did not exit normally
  std::string output;
};

inline CommandOutput run_command(const std::string& command) {
  CommandOutput out{-1, ""};
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer{};
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
      out.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return out;
}

}  // namespace ionbeam_test
