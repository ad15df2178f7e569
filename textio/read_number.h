// Conversion of the text of one numeric value, as both readers find it, into a 32-bit integer
// or a correctly rounded 32-bit real.
#pragma once

#include <cstdint>
#include <string_view>

namespace textio {

inline bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

enum class NumberStatus { ok, malformed, out_of_range };

// [sign] digits, within the int32 range.
NumberStatus parse_int32(std::string_view text, std::int32_t& value);

// [sign] mantissa [exponent]: the mantissa is digits with at most one decimal point and at
// least one digit; the exponent is E, e, D or d with an optional sign and digits, or a sign
// and digits alone (1.5-3). A mantissa without a point has `implied_decimals` digits after
// an implied one (the d of an Fw.d field; 0 for free-form values). A value too small for a
// float reads as zero; one too large is out of range.
NumberStatus parse_real(std::string_view text, int implied_decimals, float& value);

// The contents of an F, E or D input field, as a Fortran runtime reads them: blanks are
// ignored; a field of only blanks or only a sign reads as +0; a mantissa without digits
// (".", "-.", "-E2") reads as a zero of its sign; an exponent sign followed by blank columns
// alone means exponent 0, but an exponent sign in the field's last column does not read.
// `field` ends where the record or a comma ended it.
NumberStatus parse_real_field(std::string_view field, int implied_decimals, float& value);

}  // namespace textio
