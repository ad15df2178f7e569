// histcopy fromspec tospec: writes the complement copy of a one- or two-dimensional spectrum.
#pragma once

#include <string>

namespace spectools::histcopy {

// The whole tool from the command line on; returns the closing message. Every failure ends
// in ToolExit (or an exception that run_tool reports) before or while the target is written.
std::string run(int argc, const char* const* argv);

}  // namespace spectools::histcopy
