// --help and --version, answered the same way by every program of the suite before it looks
// at any file.
#pragma once

#include <optional>
#include <ostream>
#include <string_view>

namespace cli {

// When the first argument is "--help" or "--version", writes the program's help text or the
// suite's version to `out` and returns the exit status 0; otherwise returns nothing and the
// program goes on. `program` names an entry of the table in programs.cpp; an unknown name
// throws std::out_of_range.
std::optional<int> standard_options(int argc, const char* const* argv, std::string_view program,
                                    std::ostream& out);
std::optional<int> standard_options(int argc, const char* const* argv, std::string_view program);

// The suite's version, e.g. "0.1.0", set once in the top CMakeLists.txt.
std::string_view suite_version();

}  // namespace cli
