// binshrink: squashes axis 2 of a two-dimensional spectrum by an integer factor, summing groups
// of adjacent channels, and rescales the axis's calibration.
#pragma once

#include <string>

namespace spectools::binshrink {

// The whole tool. Returns the closing message; failures end through ToolExit or as
// std::range_error.
std::string run(int argc, const char* const* argv);

}  // namespace spectools::binshrink
