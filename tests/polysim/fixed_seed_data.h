// The files of the fixed-seed reference runs in data/fixed_seed: inputs and what polysim wrote.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace polysim_test {

inline std::string fixed_seed_file(const std::string& name) {
  std::ifstream in(std::string(IONBEAM_TEST_DATA "/fixed_seed/") + name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace polysim_test
