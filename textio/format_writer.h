// Formatted writing under format texts written as the result layouts give them, e.g.
// "(1X,F7.2,1X,F7.3,1X,6(F7.3,1X))", byte for byte as a standard Fortran runtime writes them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace textio {

// One value handed to a format: a 32-bit integer, a 32- or 64-bit real, or a text.
using Value = std::variant<std::int32_t, float, double, std::string_view>;

// A parsed format text; parse once, write many times.
class Format {
 public:
  // Throws FormatError if the text cannot be interpreted.
  explicit Format(std::string_view text);
  ~Format();
  Format(Format&&) noexcept;
  Format& operator=(Format&&) noexcept;

  // Writes `values` under the format: one or more lines, each ending in '\n'. Values that
  // outnumber the descriptors continue on a new line with the last repeat group (format
  // reversion); when the values run out, the output ends at the next descriptor that needs
  // a value. Throws FormatError when a value's type does not suit its descriptor.
  std::string write(const std::vector<Value>& values = {}) const;

 private:
  struct Tree;
  std::unique_ptr<Tree> tree_;
};

// Convenience: parse and write in one call.
std::string format_record(std::string_view format, const std::vector<Value>& values = {});

}  // namespace textio
