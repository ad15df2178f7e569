// The fit test case of data/: the set-up fit_case.dat with its base and experiment files, in
// a scratch working directory, with helpers to read variants of the set-up.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../polysim/scratch_dir.h"

namespace structfit_test {

inline std::string data_text(const std::string& name) {
  std::ifstream in(std::filesystem::path(IONBEAM_TEST_DATA) / name);
  if (!in) throw std::runtime_error("missing test data " + name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// A scratch working directory holding the case's base and experiment files.
struct FitCaseDir {
  polysim_test::ScratchDir dir{true};
  FitCaseDir() {
    for (const char* name : {"fit_case.exp", "fit_case_base.in"}) dir.write(name, data_text(name));
  }
};

}  // namespace structfit_test
