// histsum fromspec [fromspec ...] tospec: stitches spectra of the same dimension into one
// spectrum that covers the union of their calibrated ranges.
#pragma once

#include <string>

namespace spectools::histsum {

// The whole tool from the command line on; returns the closing message. Any number of
// inputs is taken.
std::string run(int argc, const char* const* argv);

}  // namespace spectools::histsum
