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

std::string printable(std::string_view name) {
  std::string shown;
  for (char c : name) shown += is_control(c) ? '?' : c;
  return shown;
}

}  // namespace

std::optional<std::string> name_fault(std::string_view name) {
  if (name.empty()) return "empty spectrum name";
  if (name.size() > kMaxNameLength) {
    return "spectrum name longer than " + std::to_string(kMaxNameLength) + " characters";
  }
  if (std::any_of(name.begin(), name.end(), is_control)) {
    return "spectrum name '" + printable(name) + "' holds a control character";
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
