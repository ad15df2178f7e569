// Counts held as doubles (exact for every element type) and packed into, or unpacked from,
// a buffer of a given type code for the store.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace specstore {

// The value of a count written in text as a number of the type: an integer in range for the
// integer types, a finite real for float32. Nothing when the text is not such a number.
std::optional<double> parse_value(std::string_view token, int type);
// The text of a value of the type: integers in decimal, reals with 9 significant digits (so
// that reading the text back gives the same float).
std::string format_value(double value, int type);

// `values` must fit the type (as parse_value and unpack guarantee).
std::vector<std::byte> pack(const std::vector<double>& values, int type);
std::vector<double> unpack(const std::vector<std::byte>& buffer, int type);

}  // namespace specstore
