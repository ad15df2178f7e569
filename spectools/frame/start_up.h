// Start-up shared by the spectrum tools: connect to the experiment store named by
// EXPERIMENTDIR, then check the command line. A store that cannot be opened is reported
// before a wrong command line.
#pragma once

#include <string>

#include "spectools/frame/usage.h"

namespace spectools {

// Names a tool works on, and the helpers that report a store failure against them.
struct Session {
  std::string dir;       // experiment directory in use; empty: the current directory
  std::string fromspec;  // source spectrum
  std::string tospec;    // target spectrum

  [[noreturn]] void readfailed() const;
  [[noreturn]] void writefailed() const;
};

// Steps 1-3: EXPERIMENTDIR (unset or empty: the current directory, connected with the empty
// text; otherwise connected with "capabilities"), set the path, connect; a failure ends the
// tool through ZQcrash. Returns the directory text in use.
std::string connect_store();

// The whole start-up: connect_store, the argument count check, and the source and target
// names from arguments 1 and 2.
Session start_up(int argc, const char* const* argv, const ToolUsage& usage);

}  // namespace spectools
