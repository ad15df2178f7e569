// Field editing for the formatted writer. Digits come from the C library's conversion of the
// exact binary value (which rounds ties to even, as the Fortran runtime does by default).
#include "textio/edit_fields.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace textio {
namespace {

// printf-style conversion of one value, measured first: F of a large double has up to 309
// integer digits, and the format may ask for many decimals.
std::string convert(const char* conversion, int precision, double magnitude) {
  const int size = std::snprintf(nullptr, 0, conversion, precision, magnitude);
  std::string out(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), conversion, precision, magnitude);
  out.pop_back();
  return out;
}

// Lays out [sign][0]body in `width` columns, where `body` starts at the decimal point: the
// zero goes in only if a blank would otherwise remain. Fields of one column, or two with a
// sign, are always asterisks.
std::string place_fraction(bool negative, std::string_view before_point, std::string_view body,
                           int width) {
  const int used = static_cast<int>(before_point.size() + body.size()) + (negative ? 1 : 0);
  int blanks = width - used;
  const bool lead_zero = before_point.empty() && blanks > 0;
  if (lead_zero) --blanks;
  if (blanks < 0 || width == 1 || (width == 2 && negative)) {
    return std::string(static_cast<std::size_t>(width), '*');
  }
  std::string out(static_cast<std::size_t>(blanks), ' ');
  if (negative) out += '-';
  if (lead_zero) out += '0';
  out += before_point;
  out += body;
  return out;
}

}  // namespace

std::string right_align(std::string_view body, int width) {
  const auto w = static_cast<std::size_t>(width);
  if (body.size() > w) return std::string(w, '*');
  return std::string(w - body.size(), ' ').append(body);
}

std::string edit_integer(std::int64_t value, int width, int min_digits) {
  // The magnitude in unsigned arithmetic, where that of the most negative value exists.
  const auto bits = static_cast<std::uint64_t>(value);
  const std::uint64_t magnitude = value < 0 ? 0 - bits : bits;
  std::string digits = (value == 0 && min_digits == 0) ? "" : std::to_string(magnitude);
  if (static_cast<int>(digits.size()) < min_digits) {
    digits.insert(0, static_cast<std::size_t>(min_digits) - digits.size(), '0');
  }
  if (value < 0) digits.insert(0, 1, '-');
  return right_align(digits, width);
}

std::string edit_not_finite(double value, int width) {
  if (width < 3) return std::string(static_cast<std::size_t>(width), '*');
  if (std::isnan(value)) return right_align("NaN", width);
  if (!std::signbit(value)) return right_align(width >= 8 ? "Infinity" : "Inf", width);
  if (width == 3) return std::string(3, '*');
  return right_align(width >= 9 ? "-Infinity" : "-Inf", width);
}

std::string edit_fixed(double value, int width, int decimals) {
  if (!std::isfinite(value)) return edit_not_finite(value, width);
  // '#' keeps the point when there are no decimals ("2.").
  const std::string digits = convert("%#.*f", decimals, std::fabs(value));
  const std::size_t point = digits.find('.');
  std::string_view before(digits.data(), point);
  if (before == "0") before = {};
  return place_fraction(std::signbit(value), before, std::string_view(digits).substr(point), width);
}

std::string edit_exponent(double value, int width, int digits, char letter) {
  if (!std::isfinite(value)) return edit_not_finite(value, width);
  // d.ddde+xx with d significant digits; the Fortran form shifts the point one place left.
  const std::string sci = convert("%.*e", digits - 1, std::fabs(value));
  const std::size_t e = sci.find('e');
  std::string body = ".";
  for (std::size_t i = 0; i < e; ++i) {
    if (sci[i] != '.') body += sci[i];
  }
  const int exponent = value == 0.0 ? 0 : std::atoi(sci.c_str() + e + 1) + 1;
  const int magnitude = std::abs(exponent);
  if (magnitude > 999) return std::string(static_cast<std::size_t>(width), '*');
  if (magnitude <= 99) body += letter;
  body += exponent < 0 ? '-' : '+';
  const std::string exp_digits = std::to_string(magnitude);
  body.append((magnitude <= 99 ? 2 : 3) - exp_digits.size(), '0');
  body += exp_digits;
  return place_fraction(std::signbit(value), {}, body, width);
}

std::string edit_text(std::string_view text, int width) {
  if (width <= 0) return std::string(text);
  const auto w = static_cast<std::size_t>(width);
  if (text.size() >= w) return std::string(text.substr(0, w));
  return std::string(w - text.size(), ' ').append(text);
}

}  // namespace textio
