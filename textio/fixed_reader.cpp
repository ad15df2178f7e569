// Fixed-column reading: the format's descriptors are walked against the targets, one record
// (line) at a time, with Fortran's rules for short records, blanks in numeric fields (ignored),
// implied decimals and format reversion.
#include "textio/fixed_reader.h"

#include <algorithm>
#include <string>
#include <utility>

#include "textio/errors.h"
#include "textio/read_format.h"
#include "textio/read_number.h"
#include "textio/record_input.h"

namespace textio {
namespace {

using Kind = ReadDescriptor::Kind;

// Shortens a field for a message so that a long record cannot flood it.
std::string shown(std::string_view text) {
  constexpr std::size_t kMaxShown = 40;
  if (text.size() <= kMaxShown) return std::string(text);
  return std::string(text.substr(0, kMaxShown)) + "...";
}

bool has_data_descriptor(const std::vector<ReadDescriptor>& items, std::size_t from) {
  return std::any_of(
      items.begin() + static_cast<std::ptrdiff_t>(from), items.end(), [](const ReadDescriptor& d) {
        return d.kind == Kind::integer || d.kind == Kind::real || d.kind == Kind::text ||
               (d.kind == Kind::group && has_data_descriptor(d.items, 0));
      });
}

// A numeric input field: the columns present in the record, ended early by a comma.
struct NumericField {
  std::size_t first = 0;    // 0-based column of the field's start
  std::size_t columns = 0;  // columns the field spans, up to a comma that ends it
  std::string text;         // what the record holds of those columns
};

// One execution of a read: walks the descriptors, takes records and stores fields.
class FieldWalker {
 public:
  FieldWalker(std::istream& in, const std::string& source, int& line_number,
              const std::vector<Target>& targets, std::string_view item)
      : in_(in), source_(source), line_number_(line_number), targets_(targets), item_(item) {}

  void run(const std::vector<ReadDescriptor>& format) {
    next_record();
    if (walk(format, 0) || next_target_ == targets_.size()) return;
    // Reversion: a new record, then again from the last top-level group (with its repeat
    // count), or from the start when there is no group.
    std::size_t restart = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
      if (format[i].kind == Kind::group) restart = i;
    }
    if (!has_data_descriptor(format, restart)) {
      throw FormatError("format has no data descriptor for the remaining items of " +
                        std::string(item_));
    }
    for (;;) {
      next_record();
      if (walk(format, restart) || next_target_ == targets_.size()) return;
    }
  }

 private:
  // Returns true when a data descriptor is reached with no target left (the read ends there),
  // false at the end of the items.
  bool walk(const std::vector<ReadDescriptor>& items, std::size_t from) {
    for (std::size_t i = from; i < items.size(); ++i) {
      const ReadDescriptor& d = items[i];
      for (int r = 0; r < d.repeat; ++r) {
        if (apply(d)) return true;
      }
    }
    return false;
  }

  bool apply(const ReadDescriptor& d) {
    switch (d.kind) {
      case Kind::group:
        return walk(d.items, 0);
      case Kind::skip:
        column_ += static_cast<std::size_t>(d.width);
        return false;
      case Kind::next_record:
        next_record();
        return false;
      case Kind::integer:
      case Kind::real:
      case Kind::text:
        if (next_target_ == targets_.size()) return true;
        store(d, targets_[next_target_++]);
        return false;
    }
    return false;
  }

  void next_record() {
    const LineStatus status = read_capped_line(in_, record_);
    if (status == LineStatus::end_of_file) {
      throw ReadError(source_, std::max(line_number_, 1), std::string(item_),
                      "file ends before " + std::string(item_) + " was read");
    }
    ++line_number_;
    if (status == LineStatus::too_long)
      throw LineTooLong(source_, line_number_, std::string(item_));
    if (!record_.empty() && record_.back() == '\r') record_.pop_back();
    column_ = 0;
  }

  // The next `width` columns of a numeric field. A comma among them ends the field early
  // (hand-edited files rely on it), and the next field starts after the comma.
  NumericField take_numeric(std::size_t width) {
    NumericField field;
    field.first = column_;
    const std::string_view rest =
        column_ < record_.size() ? std::string_view(record_).substr(column_) : std::string_view{};
    const std::string_view columns = rest.substr(0, width);
    const std::size_t comma = columns.find(',');
    field.columns = comma == std::string_view::npos ? width : comma;
    field.text = columns.substr(0, field.columns);
    column_ += comma == std::string_view::npos ? width : comma + 1;
    return field;
  }

  // The next `width` columns, blank-padded past the end of the record.
  std::string take(std::size_t width) {
    std::string field(width, ' ');
    if (column_ < record_.size()) {
      const std::size_t n = std::min(width, record_.size() - column_);
      record_.copy(field.data(), n, column_);
    }
    column_ += width;
    return field;
  }

  void store(const ReadDescriptor& d, const Target& target) {
    if (d.kind == Kind::integer) {
      store_integer(d, target);
    } else if (d.kind == Kind::real) {
      store_real(d, target);
    } else {
      store_text(d, target);
    }
  }

  template <typename T>
  T* target_as(const Target& target, const char* descriptor) const {
    T* const* p = std::get_if<T*>(&target);
    if (p == nullptr || *p == nullptr) {
      throw FormatError(std::string("descriptor ") + descriptor + " does not match item " +
                        std::to_string(next_target_) + " of " + std::string(item_));
    }
    return *p;
  }

  void store_integer(const ReadDescriptor& d, const Target& target) {
    std::int32_t* const out = target_as<std::int32_t>(target, "I");
    const NumericField field = take_numeric(static_cast<std::size_t>(d.width));
    std::string packed = field.text;
    std::erase(packed, ' ');
    if (packed.empty()) {
      *out = 0;
      return;
    }
    const NumberStatus status = parse_int32(packed, *out);
    if (status != NumberStatus::ok) bad_field(field, "an integer", status);
  }

  void store_real(const ReadDescriptor& d, const Target& target) {
    float* const out = target_as<float>(target, "F");
    const NumericField field = take_numeric(static_cast<std::size_t>(d.width));
    const NumberStatus status = parse_real_field(field.text, d.decimals, *out);
    if (status != NumberStatus::ok) bad_field(field, "a real", status);
  }

  // Aw into a text of length len: with w >= len the rightmost len columns are kept, otherwise
  // the w columns are padded with blanks to len.
  void store_text(const ReadDescriptor& d, const Target& target) {
    std::string* const out = target_as<std::string>(target, "A");
    const std::size_t length = out->size();
    const std::size_t width = d.has_width ? static_cast<std::size_t>(d.width) : length;
    const std::string field = take(width);
    if (width >= length) {
      out->assign(field, width - length, length);
    } else {
      out->assign(field);
      out->resize(length, ' ');
    }
  }

  [[noreturn]] void bad_field(const NumericField& field, const char* type,
                              NumberStatus status) const {
    std::string text = field.text;
    text.resize(field.columns, ' ');
    std::string problem =
        "cannot read '" + shown(text) + "' (columns " + std::to_string(field.first + 1) + "-" +
        std::to_string(field.first + field.columns) + ") as " + type + " for " + std::string(item_);
    if (status == NumberStatus::out_of_range) problem += " (out of range)";
    throw ReadError(source_, line_number_, std::string(item_), problem);
  }

  std::istream& in_;
  const std::string& source_;
  int& line_number_;
  const std::vector<Target>& targets_;
  std::string_view item_;
  std::string record_;
  std::size_t column_ = 0;
  std::size_t next_target_ = 0;
};

}  // namespace

FixedReader::FixedReader(std::istream& in, std::string source_name)
    : in_(in), source_(std::move(source_name)) {}

void FixedReader::read(std::string_view format, const std::vector<Target>& targets,
                       std::string_view item) {
  const std::vector<ReadDescriptor> descriptors = parse_read_format(format);
  FieldWalker(in_, source_, line_number_, targets, item).run(descriptors);
}

}  // namespace textio
