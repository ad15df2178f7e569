// Bounded parsing and formatting of calibration records.
#include "spectools/frame/calibration.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace spectools {
namespace {

// A word as "%19s" reads it, refused when the word runs on past 19 characters.
bool scan_word(const char*& cursor, std::string& word) {
  char buffer[kMaxCalibrationWord + 1];
  int used = 0;
  if (std::sscanf(cursor, "%19s%n", buffer, &used) != 1) return false;
  cursor += used;
  if (*cursor != '\0' && !std::isspace(static_cast<unsigned char>(*cursor))) return false;
  word = buffer;
  return true;
}

// An integer as "%d" reads it; one out of the int range counts as unreadable.
bool scan_int(const char*& cursor, int& value) {
  char* end = nullptr;
  errno = 0;
  const long read = std::strtol(cursor, &end, 10);
  if (end == cursor || errno == ERANGE || !std::in_range<int>(read)) return false;
  cursor = end;
  value = static_cast<int>(read);
  return true;
}

// A real as "%lf" reads it; only finite values are usable calibrations.
bool scan_real(const char*& cursor, double& value) {
  char* end = nullptr;
  errno = 0;
  const double read = std::strtod(cursor, &end);
  if (end == cursor || errno == ERANGE || !std::isfinite(read)) return false;
  cursor = end;
  value = read;
  return true;
}

}  // namespace

std::optional<Calibration> parse_calibration(std::string_view record) {
  const std::string text(record);
  const char* cursor = text.c_str();
  Calibration calibration;
  if (!scan_word(cursor, calibration.word1) || !scan_word(cursor, calibration.word2)) {
    return std::nullopt;
  }
  if (!scan_int(cursor, calibration.number) || !scan_real(cursor, calibration.offset) ||
      !scan_real(cursor, calibration.slope)) {
    return std::nullopt;
  }
  return calibration;
}

std::string format_calibration(const Calibration& calibration) {
  const char* const format = "%s %s %d %f %f";
  const int length =
      std::snprintf(nullptr, 0, format, calibration.word1.c_str(), calibration.word2.c_str(),
                    calibration.number, calibration.offset, calibration.slope);
  std::string text(static_cast<std::size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, format, calibration.word1.c_str(),
                calibration.word2.c_str(), calibration.number, calibration.offset,
                calibration.slope);
  return text;
}

}  // namespace spectools
