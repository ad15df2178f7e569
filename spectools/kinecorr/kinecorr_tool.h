// kinecorr: divides the elastic kinematic factor out of a two-dimensional spectrum (axis 1
// exit angle, axis 2 energy), column by column, with an optional shift of the angle axis.
#pragma once

#include <string>

namespace spectools::kinecorr {

// The whole tool: start-up, checks, the column rebinning and the records. Returns the closing
// message; failures end through ToolExit or as std::domain_error / std::range_error.
std::string run(int argc, const char* const* argv);

}  // namespace spectools::kinecorr
