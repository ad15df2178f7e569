// The pointer file "polysim1.io": the simulation input file name and the output root.
#pragma once

#include <filesystem>
#include <string>

namespace polysim {

struct RunFiles {
  std::string input_path;   // 80 columns, blank-padded
  std::string output_root;  // 80 columns, blank-padded
};

// Reads the two lines of the pointer file in `directory` (the working directory by default).
// Throws FileError if it cannot be opened, textio::ReadError if it ends early.
RunFiles read_run_files(const std::filesystem::path& directory = ".");

}  // namespace polysim
