// The edit descriptors of a format text as fixed-column reading uses them: Iw, Fw.d, Ew.d,
// Dw.d, Aw, A, nX, '/' and repeated groups n(...). Blanks in the text are ignored.
#pragma once

#include <string_view>
#include <vector>

namespace textio {

struct ReadDescriptor {
  enum class Kind { integer, real, text, skip, next_record, group };
  Kind kind = Kind::skip;
  int repeat = 1;                     // repeat count of the descriptor or group
  int width = 0;                      // columns of a field; columns skipped by X
  int decimals = 0;                   // d of Fw.d, Ew.d, Dw.d
  bool has_width = true;              // false for a bare A
  std::vector<ReadDescriptor> items;  // contents of a group
};

// Parses "(...)" into its top-level items. Throws FormatError for anything else, including
// literal strings and descriptors that reading does not use.
std::vector<ReadDescriptor> parse_read_format(std::string_view format);

}  // namespace textio
