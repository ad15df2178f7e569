// Editing of single values into output fields, byte for byte as a standard Fortran runtime
// edits them under I, F, E, D and A descriptors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace textio {

// Iw (min_digits < 0) or Iw.m: right-aligned in `width` columns, at least m digits; Iw.0 of
// zero is all blanks. A value that does not fit gives `width` asterisks. Integers of 32 and
// 64 bits alike.
std::string edit_integer(std::int64_t value, int width, int min_digits);

// Fw.d: the exact binary value rounded to d decimals (ties to even), right-aligned, with a
// zero before the point only where the width leaves room; the sign of a negative zero is kept.
std::string edit_fixed(double value, int width, int decimals);

// Ew.d or Dw.d (`letter`): 0.ddd...E+xx with d digits, right-aligned. Exponents beyond two
// digits drop the letter (0.100+101); the zero before the point appears only where there is
// room. Requires digits >= 1.
std::string edit_exponent(double value, int width, int digits, char letter);

// A (width 0): the whole text. Aw: the leftmost w characters, or the text right-aligned in w.
std::string edit_text(std::string_view text, int width);

// An infinity or NaN in a real field of `width` columns ("Infinity", "-Inf", "NaN", ...).
std::string edit_not_finite(double value, int width);

// `body` right-aligned in `width` columns, or asterisks when it is longer.
std::string right_align(std::string_view body, int width);

}  // namespace textio
