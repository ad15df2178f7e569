// polysim run as a child process in a scratch directory: exit status and console text.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "scratch_dir.h"

namespace polysim_test {

struct Outcome {
  int status;
  std::string output;  // standard output and standard error together
};

// Runs polysim in `dir`; `environment` is prefixed to the command (e.g. "NAME=value").
inline Outcome run_polysim(const ScratchDir& dir, const std::string& environment = "") {
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

}  // namespace polysim_test
