// Parsing of format texts into the descriptor tree. Blanks are insignificant outside
// literals; letters may be in either case; commas are optional only next to a slash.
#include "textio/format_parse.h"

#include <algorithm>
#include <optional>

#include "textio/errors.h"

namespace textio {
namespace {

char upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  EditNode parse_root() {
    if (peek() != '(') fail("does not begin with '('");
    ++pos_;
    EditNode root;
    root.items = parse_list();
    return root;
  }

 private:
  enum class After { open, comma, item, slash };

  // The next significant character, or '\0' at the end of the text.
  char peek() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }

  [[noreturn]] void fail(const std::string& problem) const {
    throw FormatError("format " + std::string(text_) + ": " + problem + " at column " +
                      std::to_string(std::min(pos_, text_.size()) + 1));
  }

  // Items up to and including the closing parenthesis of the current group.
  std::vector<EditNode> parse_list() {
    std::vector<EditNode> items;
    After after = After::open;
    for (;;) {
      const char c = peek();
      if (c == '\0') fail("missing ')'");
      if (c == ')') {
        if (after == After::comma) fail("',' before ')'");
        ++pos_;
        return items;
      }
      if (c == ',') {
        if (after == After::open || after == After::comma) fail("empty item");
        ++pos_;
        after = After::comma;
        continue;
      }
      EditNode node = parse_item();
      const bool slash = node.kind == EditKind::slash;
      if (after == After::item && !slash) fail("missing ','");
      items.push_back(std::move(node));
      after = slash ? After::slash : After::item;
    }
  }

  EditNode parse_item() {
    const std::optional<int> count = parse_number();
    if (count && *count == 0) fail("zero repeat count");
    const char c = upper(peek());
    EditNode node;
    node.repeat = count.value_or(1);
    if (c == '(') {
      ++pos_;
      node.kind = EditKind::group;
      node.items = parse_list();
    } else if (c == '\'' || c == '"') {
      if (count) fail("repeat count before a literal needs parentheses");
      node.kind = EditKind::literal;
      node.literal = parse_literal(c);
    } else if (c == '/') {
      ++pos_;
      node.kind = EditKind::slash;
    } else if (c == 'X') {
      ++pos_;
      node.kind = EditKind::skip;
      node.width = node.repeat;
      node.repeat = 1;
    } else {
      parse_data(node);
    }
    return node;
  }

  void parse_data(EditNode& node) {
    const char letter = upper(peek());
    ++pos_;
    switch (letter) {
      case 'I':
        node.kind = EditKind::integer;
        node.width = required_width(letter);
        if (optional_point()) node.digits = required_number("m");
        if (node.digits > node.width) fail("m larger than w in I");
        return;
      case 'F':
        node.kind = EditKind::fixed;
        node.width = required_width(letter);
        if (!optional_point()) fail("F needs .d");
        node.digits = required_number("d");
        return;
      case 'E':
      case 'D':
        node.kind = EditKind::exponent;
        node.exponent_letter = letter;
        node.width = required_width(letter);
        if (!optional_point()) fail(std::string(1, letter) + " needs .d");
        node.digits = required_number("d");
        if (node.digits == 0) fail(std::string(1, letter) + " needs d of at least 1");
        return;
      case 'A':
        node.kind = EditKind::text;
        if (const std::optional<int> w = parse_number()) {
          if (*w == 0) fail("zero width");
          node.width = *w;
        }
        return;
      default:
        --pos_;
        fail("unknown edit descriptor");
    }
  }

  int required_width(char letter) {
    const int w = required_number("width");
    if (w == 0) fail(std::string(1, letter) + " needs a positive width");
    return w;
  }

  int required_number(const char* what) {
    const std::optional<int> n = parse_number();
    if (!n) fail(std::string("missing ") + what);
    return *n;
  }

  bool optional_point() {
    if (peek() != '.') return false;
    ++pos_;
    return true;
  }

  std::optional<int> parse_number() {
    std::optional<int> n;
    for (char c = peek(); c >= '0' && c <= '9'; c = peek()) {
      n = n.value_or(0) * 10 + (c - '0');
      if (*n > kMaxFormatNumber) fail("number too large");
      ++pos_;
    }
    return n;
  }

  // A literal between `quote`s; a doubled quote inside stands for one.
  std::string parse_literal(char quote) {
    std::string out;
    for (++pos_; pos_ < text_.size(); ++pos_) {
      if (text_[pos_] != quote) {
        out += text_[pos_];
      } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == quote) {
        out += quote;
        ++pos_;
      } else {
        ++pos_;
        return out;
      }
    }
    fail("unterminated literal");
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

bool holds_data(const std::vector<EditNode>& items, std::size_t from) {
  for (std::size_t i = from; i < items.size(); ++i) {
    if (needs_value(items[i].kind)) return true;
    if (items[i].kind == EditKind::group && holds_data(items[i].items, 0)) return true;
  }
  return false;
}

}  // namespace

bool needs_value(EditKind kind) {
  return kind == EditKind::integer || kind == EditKind::fixed || kind == EditKind::exponent ||
         kind == EditKind::text;
}

std::string describe(const EditNode& node) {
  const std::string w = std::to_string(node.width);
  std::string d;
  if (node.digits >= 0) d.append(1, '.').append(std::to_string(node.digits));
  switch (node.kind) {
    case EditKind::integer:
      return "I" + w + d;
    case EditKind::fixed:
      return "F" + w + d;
    case EditKind::exponent:
      return node.exponent_letter + w + d;
    case EditKind::text:
      return node.width > 0 ? "A" + w : "A";
    case EditKind::skip:
      return w + "X";
    case EditKind::slash:
      return "/";
    case EditKind::literal:
      return "'" + node.literal + "'";
    case EditKind::group:
      break;
  }
  return "(...)";
}

ParsedFormat parse_format(std::string_view text) {
  ParsedFormat parsed;
  parsed.root = Parser(text).parse_root();
  const std::vector<EditNode>& items = parsed.root.items;
  for (std::size_t i = items.size(); i-- > 0;) {
    if (items[i].kind == EditKind::group) {
      parsed.reversion_start = i;
      break;
    }
  }
  parsed.reversion_has_data = holds_data(items, parsed.reversion_start);
  return parsed;
}

}  // namespace textio
