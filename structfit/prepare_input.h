// One preparation of a simulation run: the base crystal altered by the parameter vector, the
// model set of one parameter, and the simulation input file that holds both.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <vector>

#include "structfit/fit_setup.h"

namespace structfit {

// Reads `base_path`, alters it with `values` (one per parameter), builds the models of
// parameter `index` (1-based) and writes `input_path`, with the progress lines on `console`.
// Returns the number of detection angles N9 of the base file, the data set's weight. Throws
// SetupRefused for a base file the set-up cannot be applied to or a file that cannot be
// written, textio::ReadError for a malformed base file.
std::int32_t prepare_simulation_input(const FitSetup& setup, const std::vector<float>& values,
                                      std::int32_t index, const std::filesystem::path& base_path,
                                      const std::filesystem::path& input_path,
                                      std::ostream& console);

}  // namespace structfit
