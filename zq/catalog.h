// Listing the spectra of the connected experiment (C++ only; throws zq::Error).
#pragma once

#include <string>
#include <vector>

namespace zq {

// Names of the spectrum files in the experiment directory, sorted.
std::vector<std::string> list_spectra();

}  // namespace zq
