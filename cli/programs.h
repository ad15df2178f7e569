// What each program of the suite tells a user who asks with --help.
#pragma once

#include <string_view>

namespace cli {

struct ProgramHelp {
  std::string_view name;
  std::string_view usage;    // the command line
  std::string_view summary;  // what it does and which files it reads and writes
  std::string_view readme;   // the README section that explains it
  bool store = false;        // works on the experiment store named by EXPERIMENTDIR
};

// Throws std::out_of_range for a name not in the table.
const ProgramHelp& program_help(std::string_view name);

}  // namespace cli
