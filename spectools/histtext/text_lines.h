// The lines histtext writes for the channels of a spectrum: the calibrated channel value
// and the count when the spectrum has a usable calibration, else the index and the count.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace spectools::histtext {

// Offset and slope in single precision, as the text file's values are worked out.
struct TextCalibration {
  float offset = 0.0f;
  float slope = 0.0f;
};

// The calibration of a record that holds all five fields; nothing otherwise (an empty
// record, or one with a field missing or unreadable). A value beyond the single-precision
// range becomes an infinity.
std::optional<TextCalibration> text_calibration(std::string_view record);

// Whether the calibrated values of channels first..last, worked out in single precision as
// channel_line does, are all finite. The values are linear in the channel, so the two end
// channels decide it.
bool calibrated_values_finite(const TextCalibration& calibration, int first, int last);

// Line of the channel at index `index` (0 for the first channel) of a spectrum whose first
// channel is `base`: "%10f %10d\n" with (index + base) * slope + offset, worked out in
// single precision, when calibrated; "%10d %10d\n" with the index otherwise.
std::string channel_line(int index, int base, std::int32_t count,
                         const std::optional<TextCalibration>& calibration);

}  // namespace spectools::histtext
