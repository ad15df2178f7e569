// The ToolExit a call of the frame ends in, for tests of what a tool prints when it stops.
#pragma once

#include <optional>

#include "spectools/frame/tool_exit.h"

namespace tool_test {

// The exit a call ends in, or nothing when it returns.
template <class F>
std::optional<spectools::ToolExit> exit_of(F&& call) {
  try {
    call();
  } catch (const spectools::ToolExit& exit) {
    return exit;
  }
  return std::nullopt;
}

}  // namespace tool_test
