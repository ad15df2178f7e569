// Conversion of the text of one numeric value, as both readers find it, into a 32-bit integer
// or a correctly rounded 32-bit real.
#pragma once

#include <cstdint>
#include <string_view>

namespace textio {

enum class NumberStatus { ok, malformed, out_of_range };

// [sign] digits, within the int32 range.
NumberStatus parse_int32(std::string_view text, std::int32_t& value);

// [sign] mantissa [exponent]: the mantissa is digits with at most one decimal point and at
// least one digit; the exponent is E, e, D or d with an optional sign and digits, or a sign
// and digits alone (1.5-3). A mantissa without a point has `implied_decimals` digits after
// an implied one (the d of an Fw.d field; 0 for free-form values). A value too small for a
// float reads as zero; one too large is out of range.
NumberStatus parse_real(std::string_view text, int implied_decimals, float& value);

}  // namespace textio
