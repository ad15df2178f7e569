// Running a program of build/bin as a process: in a chosen working directory, with
// EXPERIMENTDIR set or removed, its standard output and standard error caught apart.
#pragma once

#include <sys/wait.h>
#include <filesystem>

#include <array>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../zq/store_scratch.h"

namespace tool_test {

struct Outcome {
  int status = -1;  // exit status; -1 when the program did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error

  // Both streams, standard output first: what a program that writes only one of them shows.
  std::string output() const { return out + err; }
};

inline std::string quoted(const std::string& text) {
  std::string result = "'";
  for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

// Runs IONBEAM_BIN_DIR/<program> with `args` in `cwd`, with EXPERIMENTDIR set to `experiment`
// or, when there is none, removed.
inline Outcome run_program(const std::string& program, const std::vector<std::string>& args,
                           const std::string& cwd, const std::optional<std::string>& experiment) {
  const zq_test::ScratchDir capture;  // standard error goes to a file outside the experiment
  const std::string err_file = capture.str() + "/stderr";
  // Appended piece by piece: "literal" + std::string trips a false -Wrestrict in GCC 12.
  std::string command = "cd ";
  command += quoted(cwd);
  if (experiment) {
    command += " && EXPERIMENTDIR=";
    command += quoted(*experiment);
  } else {
    command += " && unset EXPERIMENTDIR;";
  }
  command += ' ';
  command += quoted((std::filesystem::path(IONBEAM_BIN_DIR) / program).string());
  for (const std::string& word : args) {
    command += ' ';
    command += quoted(word);
  }
  command += " 2>";
  command += quoted(err_file);
  Outcome outcome;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return outcome;
  std::array<char, 4096> buffer{};
  while (const std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) {
    outcome.out.append(buffer.data(), n);
  }
  const int status = pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::stringstream err;
  err << std::ifstream(err_file).rdbuf();
  outcome.err = err.str();
  return outcome;
}

}  // namespace tool_test
