// regioncopy fromspec tospec [base range [base range]]: copies a window of a one- or
// two-dimensional spectrum into a new spectrum that starts at channel 0 on every axis.
#pragma once

#include <string>

namespace spectools::regioncopy {

// The whole tool from the command line on; returns the closing message.
std::string run(int argc, const char* const* argv);

}  // namespace spectools::regioncopy
