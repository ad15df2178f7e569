// How a spectrum tool ends. The frame's helpers throw ToolExit instead of ending the process,
// so that everything up to main() can be exercised in tests; run_tool(), called from each
// tool's main(), prints the text and returns the exit status.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace spectools {

class ToolExit : public std::exception {
 public:
  // `output` goes to standard output exactly as it stands (newline included).
  ToolExit(int status, std::string output) : status_(status), output_(std::move(output)) {}
  int status() const { return status_; }
  const std::string& output() const { return output_; }
  const char* what() const noexcept override { return output_.c_str(); }

 private:
  int status_;
  std::string output_;
};

// Runs a tool's body with the store holding every spectrum it writes. When the body returns,
// those spectra are put in place and its text (the closing message) is printed and 0
// returned; a store that cannot place them prints its message and returns 1. A ToolExit
// prints its output and returns its status, any other exception prints its message on one
// line and returns 1; the spectra written are then removed, and every spectrum stays as it
// was.
int run_tool(const std::function<std::string()>& body);

}  // namespace spectools
