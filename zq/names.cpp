// Checks on spectrum names and the mapping between names and file names.
#include "zq/names.h"

#include <algorithm>

#include "zq/error.h"
#include "zq/zq.h"

namespace zq {
namespace {

bool is_control(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7f;
}

}  // namespace

std::string escape_controls(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string shown;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (!is_control(c)) {
      shown += c;
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (c == '\r') {
      shown += "\\r";
    } else {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xf];
    }
  }
  return shown;
}

std::optional<std::string> name_fault(std::string_view name) {
  if (name.empty()) return "empty spectrum name";
  if (name.size() > kMaxNameLength) {
    return "spectrum name longer than " + std::to_string(kMaxNameLength) + " characters";
  }
  if (std::any_of(name.begin(), name.end(), is_control)) {
    return "spectrum name '" + escape_controls(name) + "' holds a control character";
  }
  if (name.find_first_of("/\\") != std::string_view::npos) {
    return "spectrum name '" + std::string(name) + "' holds a path separator";
  }
  // A leading dot would hide the file and covers "." and ".."; partly written files of the
  // store itself start with a dot too.
  if (name.front() == '.' || name.find("..") != std::string_view::npos) {
    return "spectrum name '" + std::string(name) + "' starts with a dot or holds \"..\"";
  }
  return std::nullopt;
}

void check_spectrum_name(std::string_view name) {
  if (auto fault = name_fault(name)) throw Error(ZQ_EBADNAME, *fault);
}

std::string spectrum_file_name(std::string_view name) {
  return std::string(name) + std::string(kSpectrumSuffix);
}

std::optional<std::string> spectrum_of_file(std::string_view file_name) {
  if (!file_name.ends_with(kSpectrumSuffix)) return std::nullopt;
  const std::string_view name = file_name.substr(0, file_name.size() - kSpectrumSuffix.size());
  if (name_fault(name)) return std::nullopt;
  return std::string(name);
}

}  // namespace zq
