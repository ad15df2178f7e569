// flatcorr: divides every row of a two-dimensional spectrum by the detector's parabolic
// sensitivity along axis 2, keeping its shape and records.
#pragma once

#include <string>

namespace spectools::flatcorr {

// The whole tool. Returns the closing message; failures end through ToolExit or as
// std::domain_error / std::range_error.
std::string run(int argc, const char* const* argv);

}  // namespace spectools::flatcorr
