// Reading a simulation input text through the whole reader and returning the reason line of
// its abort block, after checking that the block ends the status file and the console.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "polysim/input_reader.h"
#include "polysim/run_errors.h"
#include "polysim/status_file.h"
#include "scratch_dir.h"

namespace polysim_test {

// The reason of the abort block that reading `text` ends with, or "" when it reads.
inline std::string read_refusal(const std::string& text) {
  ScratchDir dir;
  std::ostringstream console;
  polysim::StatusFile status((dir.path() / "run.status").string(), console);
  dir.write("in.dat", text);
  try {
    polysim::read_simulation_input((dir.path() / "in.dat").string(), status);
  } catch (const polysim::JobAborted& aborted) {
    const std::string reason = aborted.what();
    const std::string block =
        " ---------------------------------\n " + reason + "\n - Job aborted\n";
    const std::string written = dir.read("run.status");
    const std::string shown = console.str();
    EXPECT_GE(written.size(), block.size());
    EXPECT_GE(shown.size(), block.size());
    if (written.size() >= block.size()) {
      EXPECT_EQ(written.substr(written.size() - block.size()), block);
    }
    if (shown.size() >= block.size()) {
      EXPECT_EQ(shown.substr(shown.size() - block.size()), block);
    }
    return reason;
  }
  return "";
}

}  // namespace polysim_test
