// Calibration records: two words, an integer, an offset and a slope; the calibrated value
// of channel c is offset + slope * c (channel numbering as each tool states).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace spectools {

inline constexpr std::size_t kMaxCalibrationWord = 19;

struct Calibration {
  std::string word1;
  std::string word2;
  int number = 2;  // 2 in a record built from scratch
  double offset = 0.0;
  double slope = 0.0;
};

// The record read as "%s %s %d %lf %lf" (text after the fifth field is ignored). A record
// that is empty, lacks a field, has a word longer than 19 characters or a number out of
// range (an integer beyond int, a real that is not finite) gives nothing: tools treat it
// like an empty record.
std::optional<Calibration> parse_calibration(std::string_view record);

// "%s %s %d %f %f": offset and slope with six decimals.
std::string format_calibration(const Calibration& calibration);

}  // namespace spectools
