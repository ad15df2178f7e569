// Recursive-descent parser of read formats. Formats are program constants, but the parser
// still bounds numbers and nesting so that no text can make it misbehave.
#include "textio/read_format.h"

#include <cctype>
#include <string>

#include "textio/errors.h"
#include "textio/format_parse.h"

namespace textio {
namespace {

constexpr int kMaxDepth = 16;

class FormatParser {
 public:
  explicit FormatParser(std::string_view text) : text_(text) {}

  std::vector<ReadDescriptor> parse() {
    expect('(');
    std::vector<ReadDescriptor> items = parse_list(1);
    if (peek() != '\0') fail("text after the closing parenthesis");
    return items;
  }

 private:
  // Next non-blank character, or '\0' at the end.
  char peek() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    return pos_ < text_.size()
               ? static_cast<char>(std::toupper(static_cast<unsigned char>(text_[pos_])))
               : '\0';
  }

  void expect(char c) {
    if (peek() != c) fail(std::string("expected '") + c + "'");
    ++pos_;
  }

  [[noreturn]] void fail(const std::string& problem) const {
    throw FormatError("format \"" + std::string(text_) + "\": " + problem);
  }

  bool at_digit() { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }

  int number() {
    if (!at_digit()) fail("expected a number");
    int value = 0;
    while (at_digit()) {
      value = value * 10 + (text_[pos_++] - '0');
      if (value > kMaxFormatNumber) fail("number too large");
    }
    return value;
  }

  // Items up to and including the closing parenthesis of the current level.
  std::vector<ReadDescriptor> parse_list(int depth) {
    if (depth > kMaxDepth) fail("groups nested too deeply");
    std::vector<ReadDescriptor> items;
    bool need_separator = false;
    for (;;) {
      const char c = peek();
      if (c == ')') {
        ++pos_;
        return items;
      }
      if (c == ',') {
        ++pos_;
        need_separator = false;
        continue;
      }
      if (c == '/') {
        ++pos_;
        items.emplace_back().kind = ReadDescriptor::Kind::next_record;
        need_separator = false;
        continue;
      }
      if (need_separator) fail("expected ',' or ')'");
      items.push_back(parse_item(depth));
      // A slash separates by itself, counted (2/) or not.
      need_separator = items.back().kind != ReadDescriptor::Kind::next_record;
    }
  }

  ReadDescriptor parse_item(int depth) {
    const bool counted = at_digit();
    const int repeat = counted ? number() : 1;
    if (repeat < 1) fail("repeat count must be positive");
    const char c = peek();
    if (c == '\0') fail("missing ')'");
    ++pos_;
    ReadDescriptor d;
    d.repeat = repeat;
    switch (c) {
      case '(':
        d.kind = ReadDescriptor::Kind::group;
        d.items = parse_list(depth + 1);
        return d;
      case '/':
        d.kind = ReadDescriptor::Kind::next_record;
        return d;
      case 'X':
        // nX: the count is the number of columns, not a repeat.
        d.kind = ReadDescriptor::Kind::skip;
        d.width = repeat;
        d.repeat = 1;
        return d;
      case 'I':
        d.kind = ReadDescriptor::Kind::integer;
        d.width = field_width();
        return d;
      case 'F':
      case 'E':
      case 'D':
        d.kind = ReadDescriptor::Kind::real;
        d.width = field_width();
        expect('.');
        d.decimals = number();
        // The exponent width of Ew.dEe matters only for writing.
        if (c != 'F' && peek() == 'E') {
          ++pos_;
          number();
        }
        return d;
      case 'A':
        d.kind = ReadDescriptor::Kind::text;
        d.has_width = at_digit();
        if (d.has_width) d.width = field_width();
        return d;
      default:
        fail(std::string("descriptor '") + c + "' is not used for reading");
    }
  }

  int field_width() {
    const int width = number();
    if (width < 1) fail("field width must be positive");
    return width;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<ReadDescriptor> parse_read_format(std::string_view format) {
  return FormatParser(format).parse();
}

}  // namespace textio
