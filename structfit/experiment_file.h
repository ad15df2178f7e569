// The measured blocking curve of a data set: (exit angle, intensity) pairs, one a line.
#pragma once

#include <filesystem>
#include <vector>

namespace structfit {

// Points kept of a measured or simulated curve.
inline constexpr std::size_t kMostCurvePoints = 400;

struct MeasuredCurve {
  std::vector<float> angles;  // exit angles, degrees, taken as equally spaced
  std::vector<float> intensities;
};

// Reads pairs free-form (blank- or comma-separated) from the first line on. Reading stops at
// the first line that does not hold two numbers, at the end of the file, or after
// kMostCurvePoints pairs; what follows (a footer, notes) is not read. Throws SetupRefused when
// the file cannot be opened.
MeasuredCurve read_experiment_file(const std::filesystem::path& path);

}  // namespace structfit
