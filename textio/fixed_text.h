// Fixed-width character values: texts are stored in a fixed number of columns, blank-padded
// or cut, and trailing blanks are not part of a name when a file is opened.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace textio {

// `text` in exactly `width` columns: cut, or padded with blanks on the right.
inline std::string fixed_width(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

// `text` without its trailing blanks.
inline std::string_view trim_trailing(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

inline bool is_blank(std::string_view text) {
  return trim_trailing(text).empty();
}

}  // namespace textio
