// The measured blocking curve of a data set: (exit angle, intensity) pairs, one a line.
#pragma once

#include <filesystem>

#include "structfit/rfactor_curve.h"

namespace structfit {

// Reads pairs free-form (blank- or comma-separated) from the first line on. Reading stops at
// the first line that does not hold two numbers, at the end of the file, or after
// kMaxCurvePoints pairs; what follows (a footer, notes) is not read. Throws SetupRefused when
// the file cannot be opened.
Curve read_experiment_file(const std::filesystem::path& path);

}  // namespace structfit
