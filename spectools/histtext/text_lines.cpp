// Formatting of histtext's channel lines.
#include "spectools/histtext/text_lines.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>

#include "spectools/frame/calibration.h"

namespace spectools::histtext {
namespace {

float single(double value) {
  if (std::fabs(value) > FLT_MAX)
    return std::copysign(std::numeric_limits<float>::infinity(), value);
  return static_cast<float>(value);
}

}  // namespace

std::optional<TextCalibration> text_calibration(std::string_view record) {
  const std::optional<Calibration> calibration = parse_calibration(record);
  if (!calibration) return std::nullopt;
  return TextCalibration{single(calibration->offset), single(calibration->slope)};
}

namespace {

float calibrated_value(const TextCalibration& calibration, int channel) {
  return static_cast<float>(channel) * calibration.slope + calibration.offset;
}

}  // namespace

bool calibrated_values_finite(const TextCalibration& calibration, int first, int last) {
  return std::isfinite(calibrated_value(calibration, first)) &&
         std::isfinite(calibrated_value(calibration, last));
}

std::string channel_line(int index, int base, std::int32_t count,
                         const std::optional<TextCalibration>& calibration) {
  // A float printed with "%f" has at most 39 digits before the point.
  char line[128];
  int length = 0;
  if (calibration) {
    // Channel numbers stay within int: index + base is the channel number itself.
    const float value = calibrated_value(*calibration, index + base);
    length = std::snprintf(line, sizeof line, "%10f %10d\n", static_cast<double>(value), count);
  } else {
    length = std::snprintf(line, sizeof line, "%10d %10d\n", index, count);
  }
  return std::string(line, static_cast<std::size_t>(length));
}

}  // namespace spectools::histtext
