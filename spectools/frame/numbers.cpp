// Checked conversion of command-line numbers.
#include "spectools/frame/numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "spectools/frame/tool_exit.h"

namespace spectools {
namespace {

bool only_blanks(const char* rest) {
  while (*rest == ' ' || *rest == '\t') ++rest;
  return *rest == '\0';
}

std::optional<int> scan_int(std::string_view text, int base) {
  const std::string copy(text);
  const char* start = copy.c_str();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(start, &end, base);
  if (end == start || errno == ERANGE || !only_blanks(end)) return std::nullopt;
  if (!std::in_range<int>(value)) return std::nullopt;
  return static_cast<int>(value);
}

template <class T>
T or_usage(std::optional<T> value, const ToolUsage& usage) {
  if (!value) throw ToolExit(1, usage_output(usage));
  return *value;
}

}  // namespace

std::optional<int> scan_decimal(std::string_view text) {
  return scan_int(text, 10);
}

std::optional<int> scan_integer(std::string_view text) {
  return scan_int(text, 0);
}

std::optional<double> scan_real(std::string_view text) {
  const std::string copy(text);
  const char* start = copy.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(start, &end);
  if (end == start || errno == ERANGE || !only_blanks(end) || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

int decimal_argument(std::string_view text, const ToolUsage& usage) {
  return or_usage(scan_decimal(text), usage);
}

int integer_argument(std::string_view text, const ToolUsage& usage) {
  return or_usage(scan_integer(text), usage);
}

double real_argument(std::string_view text, const ToolUsage& usage) {
  return or_usage(scan_real(text), usage);
}

std::string number_text(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace spectools
