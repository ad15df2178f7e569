// Reading the corrections file the way successive "%d" conversions read it, without their
// undefined behaviour on numbers beyond the int range.
#include "spectools/warpcorr/corrections_file.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>

namespace spectools::distortion {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool is_digit(int c) {
  return c >= '0' && c <= '9';
}

// One "%d" conversion: blanks, an optional sign, digits. Nothing when no digit follows or the
// value leaves the int range; the character after the number is left unread.
std::optional<int> scan_one(std::FILE* file) {
  int c = std::fgetc(file);
  while (c != EOF && std::isspace(c)) c = std::fgetc(file);
  const bool negative = c == '-';
  if (c == '-' || c == '+') c = std::fgetc(file);
  if (!is_digit(c)) return std::nullopt;
  long long magnitude = 0;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  for (; is_digit(c); c = std::fgetc(file)) {
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return std::nullopt;
  }
  if (c != EOF) std::ungetc(c, file);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace

CorrectionsFileError::CorrectionsFileError(int error_number)
    : std::runtime_error(std::string("Couldn't open corrections file: ") +
                         std::strerror(error_number) + "\n") {}

int scan_corrections(std::FILE* file, RowTable& corrections) {
  int read = 0;
  while (read < kWindowColumns) {
    const std::optional<int> value = scan_one(file);
    if (!value) break;
    corrections.at(read++) = *value;
  }
  return read;
}

int read_corrections_file(const std::string& path, RowTable& corrections) {
  errno = 0;
  const File file(std::fopen(path.c_str(), "r"));
  if (!file) throw CorrectionsFileError(errno);
  RowTable scanned = corrections;
  const int read = scan_corrections(file.get(), scanned);
  if (std::ferror(file.get())) throw CorrectionsFileError(errno);
  corrections = scanned;
  return read;
}

}  // namespace spectools::distortion
