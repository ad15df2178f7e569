// Writing values under a parsed format: walks the descriptor tree once per record, with
// format reversion when values remain and an early end when they run out.
#include "textio/format_writer.h"

#include <utility>

#include "textio/edit_fields.h"
#include "textio/errors.h"
#include "textio/format_parse.h"

namespace textio {

struct Format::Tree {
  ParsedFormat parsed;
};

namespace {

// The output lines being built. nX only moves the position: its blanks appear when something
// is written after them on the same line, never at a line's end.
class Lines {
 public:
  void put(std::string_view field) {
    text_.append(pending_blanks_, ' ');
    pending_blanks_ = 0;
    text_ += field;
  }
  void skip(int columns) { pending_blanks_ += static_cast<std::size_t>(columns); }
  void end_line() {
    pending_blanks_ = 0;
    text_ += '\n';
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
  std::size_t pending_blanks_ = 0;
};

std::string type_name(const Value& value) {
  switch (value.index()) {
    case 0:
      return "an integer";
    case 3:
      return "a text";
    default:
      return "a real";
  }
}

std::string edit(const EditNode& node, const Value& value) {
  const auto mismatch = [&] {
    return FormatError("descriptor " + describe(node) + " cannot write " + type_name(value));
  };
  if (node.kind == EditKind::integer) {
    const auto* i = std::get_if<std::int32_t>(&value);
    if (!i) throw mismatch();
    return edit_integer(*i, node.width, node.digits);
  }
  if (node.kind == EditKind::text) {
    const auto* s = std::get_if<std::string_view>(&value);
    if (!s) throw mismatch();
    return edit_text(*s, node.width);
  }
  double real = 0.0;
  if (const auto* f = std::get_if<float>(&value)) {
    real = *f;
  } else if (const auto* d = std::get_if<double>(&value)) {
    real = *d;
  } else {
    throw mismatch();
  }
  if (node.kind == EditKind::fixed) return edit_fixed(real, node.width, node.digits);
  return edit_exponent(real, node.width, node.digits, node.exponent_letter);
}

class Writer {
 public:
  explicit Writer(const std::vector<Value>& values) : values_(values) {}

  std::string run(const ParsedFormat& format) {
    const std::vector<EditNode>& items = format.root.items;
    bool more = run_items(items, 0);
    while (more && next_ < values_.size()) {
      if (!format.reversion_has_data) {
        throw FormatError("more values than the format has descriptors for");
      }
      lines_.end_line();
      more = run_items(items, format.reversion_start);
    }
    lines_.end_line();
    return lines_.take();
  }

 private:
  // False once a descriptor wants a value and none is left: the output ends there.
  bool run_items(const std::vector<EditNode>& items, std::size_t from) {
    for (std::size_t i = from; i < items.size(); ++i) {
      if (!run_item(items[i])) return false;
    }
    return true;
  }

  bool run_item(const EditNode& node) {
    switch (node.kind) {
      case EditKind::literal:
        lines_.put(node.literal);
        return true;
      case EditKind::skip:
        lines_.skip(node.width);
        return true;
      case EditKind::slash:
        for (int r = 0; r < node.repeat; ++r) lines_.end_line();
        return true;
      case EditKind::group:
        for (int r = 0; r < node.repeat; ++r) {
          if (!run_items(node.items, 0)) return false;
        }
        return true;
      default:
        for (int r = 0; r < node.repeat; ++r) {
          if (next_ == values_.size()) return false;
          lines_.put(edit(node, values_[next_++]));
        }
        return true;
    }
  }

  const std::vector<Value>& values_;
  std::size_t next_ = 0;
  Lines lines_;
};

}  // namespace

Format::Format(std::string_view text) : tree_(std::make_unique<Tree>(Tree{parse_format(text)})) {}
Format::~Format() = default;
Format::Format(Format&&) noexcept = default;
Format& Format::operator=(Format&&) noexcept = default;

std::string Format::write(const std::vector<Value>& values) const {
  if (!tree_) throw FormatError("format used after being moved from");
  return Writer(values).run(tree_->parsed);
}

std::string format_record(std::string_view format, const std::vector<Value>& values) {
  return Format(format).write(values);
}

}  // namespace textio
