// The parsed form of a Fortran-style format text: a small tree of edit descriptors and
// parenthesised repeat groups, built once and walked by the writer for every record.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace textio {

// Widths, counts and repeats above this, in any format text, are taken for a typing error
// rather than a layout.
inline constexpr int kMaxFormatNumber = 1'000'000;

enum class EditKind {
  literal,   // text in apostrophes or quotes
  skip,      // nX: move n columns on
  slash,     // r/: end the current line r times
  integer,   // Iw, Iw.m
  fixed,     // Fw.d
  exponent,  // Ew.d, Dw.d
  text,      // A, Aw
  group      // r(...)
};

struct EditNode {
  EditKind kind = EditKind::group;
  int repeat = 1;   // repeat count of a group, slash or data descriptor
  int width = 0;    // w of a data descriptor (0 for a bare A); n of nX
  int digits = -1;  // d of F, E, D; m of Iw.m; -1 when not given
  char exponent_letter = 'E';
  std::string literal;          // text of a literal
  std::vector<EditNode> items;  // members of a group
};

struct ParsedFormat {
  EditNode root;  // the outermost parentheses, a group with repeat 1
  // Where format reversion resumes in root.items: the last top-level group, else the start.
  std::size_t reversion_start = 0;
  bool reversion_has_data = false;  // whether the resumed part holds a data descriptor
};

// True for the descriptors that consume a value (I, F, E, D, A).
bool needs_value(EditKind kind);

// The descriptor as a format spells it, e.g. "F7.3", for error messages.
std::string describe(const EditNode& node);

// Parses text from its opening parenthesis to the matching closing one; anything after that
// is ignored. Throws FormatError for a text that cannot be interpreted.
ParsedFormat parse_format(std::string_view text);

}  // namespace textio
