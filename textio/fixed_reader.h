// Fixed-column formatted reading (Iw, Fw.d, Ew.d, Aw, A, nX, '/', repeated groups) of
// record-oriented text files, as the fitter's set-up file is read.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace textio {

// Where a field's value goes. A text target keeps its current length as the item's width
// when the descriptor is a bare A.
using Target = std::variant<std::int32_t*, float*, std::string*>;

class FixedReader {
 public:
  FixedReader(std::istream& in, std::string source_name);

  // Reads one record (more when the format holds slashes) under `format` into `targets`.
  // A short record reads as if padded with blanks; blanks inside a numeric field are
  // ignored; an F field without a decimal point takes d implied decimals. Targets beyond the
  // format's descriptors take further records from its last repeat group, or from its start
  // when it has none. Throws ReadError (naming `item`) for a field that does not read or a
  // file that ends early, FormatError for a format it cannot use or a mismatched target.
  void read(std::string_view format, const std::vector<Target>& targets, std::string_view item);

  int line_number() const { return line_number_; }

 private:
  std::istream& in_;
  std::string source_;
  int line_number_ = 0;
};

}  // namespace textio
