// How a polysim run stops early. The message lines have already gone to the status file and
// the console when these are thrown; the program's entry turns them into its exit status.
#pragma once

#include <stdexcept>
#include <string>

namespace polysim {

// The run was aborted on one of its own failure paths (an input file that cannot be opened,
// invalid option flags, counts that would index outside a table); its message block is
// already written.
class JobAborted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file of the run could not be opened, created or read; what() names the file.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace polysim
