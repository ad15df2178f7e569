// The skew file: the measured and simulated curves as compared, for inspection.
#pragma once

#include <string>
#include <vector>

namespace structfit {

// One compared point: the angle (degrees), the measured and simulated intensities on the
// measured scale, and both divided by the scale factor.
struct SkewLine {
  float angle = 0.0f;
  float measured = 0.0f;
  float simulated = 0.0f;
  float measured_unscaled = 0.0f;
  float simulated_unscaled = 0.0f;
};

// The lines of a skew file, each "(1X,F7.3,1X,F8.3,1X,F8.3,1X,F8.3,1X,F8.3)".
std::string format_skew_lines(const std::vector<SkewLine>& lines);

// Creates or overwrites the file `name` (trailing blanks are not part of it) with the lines.
// Throws SkewFileError when it cannot be written.
void write_skew_file(const std::string& name, const std::vector<SkewLine>& lines);

}  // namespace structfit
