// Validation of numeric literals and their conversion with std::from_chars, which rounds
// correctly to float and does not depend on the C locale.
#include "textio/read_number.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

namespace textio {
namespace {

// Exponents beyond this bound only decide between zero and overflow, so they saturate here.
constexpr long long kExponentBound = 1'000'000'000;

// The parts of a real literal after validation.
struct RealParts {
  bool negative = false;
  std::string_view integer_digits;
  std::string_view fraction_digits;
  bool has_point = false;
  long long exponent = 0;
};

std::size_t take_digits(std::string_view text, std::size_t pos) {
  while (pos < text.size() && is_digit(text[pos])) ++pos;
  return pos;
}

bool split_real(std::string_view text, RealParts& parts) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    parts.negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t int_end = take_digits(text, pos);
  parts.integer_digits = text.substr(pos, int_end - pos);
  pos = int_end;
  if (pos < text.size() && text[pos] == '.') {
    parts.has_point = true;
    const std::size_t frac_end = take_digits(text, pos + 1);
    parts.fraction_digits = text.substr(pos + 1, frac_end - pos - 1);
    pos = frac_end;
  }
  if (parts.integer_digits.empty() && parts.fraction_digits.empty()) return false;
  if (pos == text.size()) return true;

  const char marker = text[pos];
  if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
    ++pos;
  } else if (marker != '+' && marker != '-') {
    return false;
  }
  bool exponent_negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    exponent_negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t exp_end = take_digits(text, pos);
  if (exp_end == pos || exp_end != text.size()) return false;
  long long exponent = 0;
  for (std::size_t i = pos; i < exp_end; ++i) {
    exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentBound);
  }
  parts.exponent = exponent_negative ? -exponent : exponent;
  return true;
}

// Decimal exponent of the leading non-zero digit; only called for a non-zero mantissa.
long long leading_exponent(const RealParts& parts) {
  const auto first = parts.integer_digits.find_first_not_of('0');
  if (first != std::string_view::npos) {
    return static_cast<long long>(parts.integer_digits.size() - first) - 1 + parts.exponent;
  }
  const auto frac_first = parts.fraction_digits.find_first_not_of('0');
  return -static_cast<long long>(frac_first) - 1 + parts.exponent;
}

bool all_zero(std::string_view digits) {
  return digits.find_first_not_of('0') == digits.npos;
}

bool is_sign(char c) {
  return c == '+' || c == '-';
}

std::string without_blanks(std::string_view field) {
  std::string packed;
  packed.reserve(field.size());
  for (const char c : field) {
    if (c != ' ') packed += c;
  }
  return packed;
}

}  // namespace

NumberStatus parse_int32(std::string_view text, std::int32_t& value) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos == text.size() || take_digits(text, pos) != text.size()) return NumberStatus::malformed;
  // Accumulate the magnitude with room for -2^31; stop early on overflow.
  constexpr long long kLimit = 2'147'483'648LL;
  long long magnitude = 0;
  for (std::size_t i = pos; i < text.size(); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) return NumberStatus::out_of_range;
  }
  if (!negative && magnitude == kLimit) return NumberStatus::out_of_range;
  value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  return NumberStatus::ok;
}

NumberStatus parse_real(std::string_view text, int implied_decimals, float& value) {
  RealParts parts;
  if (!split_real(text, parts)) return NumberStatus::malformed;
  if (!parts.has_point) parts.exponent -= implied_decimals;
  if (all_zero(parts.integer_digits) && all_zero(parts.fraction_digits)) {
    value = parts.negative ? -0.0f : 0.0f;
    return NumberStatus::ok;
  }

  // Rebuild the literal in the form from_chars takes: no '+', 'e' as exponent marker.
  std::string literal;
  literal.reserve(text.size() + 24);
  if (parts.negative) literal += '-';
  literal += parts.integer_digits.empty() ? std::string_view("0") : parts.integer_digits;
  literal += '.';
  literal += parts.fraction_digits;
  literal += 'e';
  literal += std::to_string(parts.exponent);

  float result = 0.0f;
  const auto [ptr, ec] = std::from_chars(literal.data(), literal.data() + literal.size(), result);
  if (ec == std::errc::result_out_of_range) {
    if (leading_exponent(parts) >= 0) return NumberStatus::out_of_range;
    result = parts.negative ? -0.0f : 0.0f;
  } else if (ec != std::errc() || ptr != literal.data() + literal.size()) {
    return NumberStatus::malformed;
  }
  value = result;
  return NumberStatus::ok;
}

NumberStatus parse_real_field(std::string_view field, int implied_decimals, float& value) {
  std::string text = without_blanks(field);
  const std::size_t mantissa = !text.empty() && is_sign(text[0]) ? 1 : 0;
  if (text.size() == mantissa) {
    value = 0.0f;
    return NumberStatus::ok;
  }
  std::size_t mantissa_end = mantissa;
  while (mantissa_end < text.size() && (is_digit(text[mantissa_end]) || text[mantissa_end] == '.'))
    ++mantissa_end;
  if (std::none_of(text.begin() + static_cast<std::ptrdiff_t>(mantissa),
                   text.begin() + static_cast<std::ptrdiff_t>(mantissa_end), is_digit)) {
    text.insert(mantissa, 1, '0');
  }
  if (is_sign(text.back())) {
    // The exponent's digits are blank columns, unless the sign closes the field.
    if (is_sign(field.back())) return NumberStatus::malformed;
    text += '0';
  }
  return parse_real(text, implied_decimals, value);
}

}  // namespace textio
