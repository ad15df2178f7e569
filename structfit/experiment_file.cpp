// Reading a measured curve line by line, each line one free-form read of two numbers.
#include "structfit/experiment_file.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "structfit/fit_errors.h"
#include "textio/errors.h"
#include "textio/free_reader.h"
#include "textio/record_input.h"

namespace structfit {
namespace {

// One line as an (angle, intensity) pair; false when it does not hold two numbers. The line
// is read on its own, so a line with one number does not borrow from the next; a null value
// or a slash, which would leave an item as it was, does not count as a number.
bool read_pair(const std::string& line, float& angle, float& intensity) {
  std::istringstream record(line);
  textio::FreeReader in(record, "");
  angle = intensity = std::numeric_limits<float>::quiet_NaN();
  try {
    in.begin();
    in.read(angle, "angle");
    in.read(intensity, "intensity");
  } catch (const textio::ReadError&) {
    return false;
  }
  return !std::isnan(angle) && !std::isnan(intensity);
}

}  // namespace

Curve read_experiment_file(const std::filesystem::path& path) {
  std::ifstream file(path);
  if (!file) throw SetupRefused(" cannot open experiment file " + path.string());
  Curve curve;
  std::string line;
  float angle = 0.0f, intensity = 0.0f;
  while (curve.size() < static_cast<std::size_t>(kMaxCurvePoints) &&
         textio::read_capped_line(file, line) == textio::LineStatus::ok &&
         read_pair(line, angle, intensity)) {
    curve.push_back({angle, intensity});
  }
  return curve;
}

}  // namespace structfit
