// List-directed layout of integers (11 columns, 20 for 64-bit integers) and 32-bit reals (the G16.9
// form with one digit before the point in exponent form) as the Fortran runtime writes them.
#include "textio/free_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "textio/edit_fields.h"

namespace textio {
namespace {

constexpr int kIntegerWidth = 11;      // room for -2147483648
constexpr int kWideIntegerWidth = 20;  // room for -9223372036854775808
constexpr int kRealWidth = 16;
constexpr int kSignificant = 9;  // enough digits to read a 32-bit real back unchanged

// Nine significant digits. Magnitudes from 0.1 up to below 10^9 (after rounding) are written
// in fixed form in 12 columns followed by 4 blanks; zero as 0.00000000; all others as
// d.ddddddddE+xx in 16 columns.
std::string list_real(float number) {
  const double value = number;
  if (!std::isfinite(value)) return edit_not_finite(value, kRealWidth);
  if (value == 0.0) return edit_fixed(value, kRealWidth - 4, kSignificant - 1) + "    ";
  char sci[32];
  std::snprintf(sci, sizeof sci, "%.*e", kSignificant - 1, std::fabs(value));
  const char* e = sci;
  while (*e != 'e') ++e;
  const int exponent = std::atoi(e + 1);
  if (exponent >= -1 && exponent < kSignificant) {
    return edit_fixed(value, kRealWidth - 4, kSignificant - 1 - exponent) + "    ";
  }
  const int magnitude = std::abs(exponent);
  std::string body = std::signbit(value) ? "-" : "";
  body.append(sci, static_cast<std::size_t>(e - sci));
  body += exponent < 0 ? "E-" : "E+";
  if (magnitude < 10) body += '0';
  body += std::to_string(magnitude);
  return right_align(body, kRealWidth);
}

}  // namespace

void FreeLine::separate(Item next) {
  if (last_ == Item::none || next == Item::number || last_ == Item::number) text_ += ' ';
  last_ = next;
}

FreeLine& FreeLine::operator<<(std::string_view text) {
  separate(Item::text);
  text_ += text;
  return *this;
}

FreeLine& FreeLine::operator<<(std::int32_t number) {
  separate(Item::number);
  text_ += edit_integer(number, kIntegerWidth, -1);
  return *this;
}

FreeLine& FreeLine::operator<<(std::int64_t number) {
  separate(Item::number);
  text_ += edit_integer(number, kWideIntegerWidth, -1);
  return *this;
}

FreeLine& FreeLine::operator<<(float number) {
  separate(Item::number);
  text_ += list_real(number);
  return *this;
}

std::string FreeLine::str() const {
  return text_ + '\n';
}

}  // namespace textio
