// Reading of one simulated blocking curve (a short result file of the embedded run) with its
// element columns combined into one intensity.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "structfit/rfactor_curve.h"

namespace structfit {

// Reads free-form records of an angle and include.size() element values, at most
// kMaxCurvePoints, stopping without message at the end of the file or at the first record
// that does not read. The intensity of a point is the sum of weights[m] * value[m] over the
// elements whose include flag is 1. `include` and `weights` are of one length, the number of
// element columns. `source_name` names the file in the reader's messages.
Curve read_simulated_curve(std::istream& in, const std::string& source_name,
                           const std::vector<std::int32_t>& include,
                           const std::vector<float>& weights);

}  // namespace structfit
