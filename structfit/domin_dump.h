// The minimizer's restart dump: its whole state as the records of a sequential unformatted
// file (each record framed by its byte length, 4-byte little-endian, before and after), so a
// long fit can resume where it stood.
#pragma once

#include <stdexcept>
#include <string>

#include "structfit/domin_state.h"

namespace structfit {

class RestartFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes the sixteen state records (the no-progress count in the first reserved integer) and a
// seventeenth with the scaling vector to a temporary
// name beside `path`, then renames it over `path`: a crash mid-write leaves the old dump whole.
void write_restart_file(const std::string& path, const MinimizerState& st,
                        const std::vector<float>& scale);

// Reads a dump for `n` variables; throws RestartFileError when it is missing, torn, or made
// for another number of variables.
MinimizerState read_restart_file(const std::string& path, int n, std::vector<float>& scale);

}  // namespace structfit
