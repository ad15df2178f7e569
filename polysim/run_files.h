// The pointer file "polysim1.io" (monosim's "monosim1.io"): the simulation input file name
// and the output root (monosim: the result file name).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace polysim {

// File names and the comment line are 80-column fields in the run's files and messages.
inline constexpr std::size_t kNameWidth = 80;

struct RunFiles {
  std::string input_path;   // 80 columns, blank-padded
  std::string output_root;  // 80 columns, blank-padded
};

inline constexpr const char* kPointerFile = "polysim1.io";

// Reads the two lines of the pointer file `pointer_file` in `directory` (the working
// directory by default). Throws FileError if it cannot be opened, textio::ReadError if it
// ends early.
RunFiles read_run_files(const std::filesystem::path& directory = ".",
                        const std::string& pointer_file = kPointerFile);

}  // namespace polysim
