// warpcorr and stepcorr: the straightening of a two-dimensional detector spectrum into the
// fixed 163 x 119 window, with the window's new calibration.
#pragma once

#include <string>
#include <string_view>

namespace spectools::distortion {

// The whole tool for the build named `tool` ("warpcorr" or "stepcorr"): start-up, the
// optional corrections file (CorrectionsFileError when it cannot be read), the column copy and
// the records. Returns the closing message; failures end through ToolExit.
std::string run(std::string_view tool, int argc, const char* const* argv);

}  // namespace spectools::distortion
