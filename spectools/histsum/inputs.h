// Reading histsum's inputs from the store: their descriptions and calibrations.
#pragma once

#include <string>
#include <vector>

#include "spectools/histsum/merge_plan.h"

namespace spectools::histsum {

// Inquires every input in order and reads its calibration records. The first input sets
// the common dimension; a later one of another dimension ends the tool with "spectra have
// different dimensions", and a dimension other than 1 or 2 as not implemented. A failing
// store call ends the tool with the store's message and the input's name.
std::vector<MergeInput> read_inputs(const std::vector<std::string>& names);

}  // namespace spectools::histsum
