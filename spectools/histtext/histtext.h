// histtext fromspec tospec format: writes a one-dimensional spectrum to the text file named
// by the second argument; further arguments are accepted and not used.
#pragma once

#include <string>

namespace spectools::histtext {

// The whole tool from the command line on; returns the closing message.
std::string run(int argc, const char* const* argv);

}  // namespace spectools::histtext
