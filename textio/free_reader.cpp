// List-directed reading: a small scanner over the current line that hands out one value per
// item, with repeat counts, null values, quoted texts and the slash that ends an operation.
#include "textio/free_reader.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "textio/errors.h"
#include "textio/read_number.h"
#include "textio/record_input.h"

namespace textio {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}
bool is_separator(char c) {
  return is_blank(c) || c == ',' || c == '/';
}
bool is_quote(char c) {
  return c == '\'' || c == '"';
}

// Shortens a value for a message so that a long line cannot flood it.
std::string shown_quoted(std::string_view text) {
  constexpr std::size_t kMaxShown = 40;
  std::string quoted(1, '\'');
  quoted.append(text.substr(0, kMaxShown));
  if (text.size() > kMaxShown) quoted.append("...");
  quoted += '\'';
  return quoted;
}

std::string conversion_problem(bool quoted, std::string_view text, const char* type,
                               std::string_view item, NumberStatus status) {
  std::string problem = std::string("cannot read ") + (quoted ? "quoted text " : "") +
                        shown_quoted(text) + " as " + type + " for " + std::string(item);
  if (status == NumberStatus::out_of_range) problem += " (out of range)";
  return problem;
}

}  // namespace

FreeReader::Token FreeReader::null_token() {
  Token token;
  token.null = true;
  return token;
}

FreeReader::FreeReader(std::istream& in, std::string source_name)
    : in_(in), source_(std::move(source_name)) {}

std::string FreeReader::read_line(std::size_t width, std::string_view item) {
  if (line_due_) fetch_line(item);
  have_line_ = false;
  line_due_ = false;
  slash_seen_ = false;
  repeat_left_ = 0;
  after_comma_ = true;
  leading_ = true;
  if (!fetch_line(item)) fail(item, "file ends before " + std::string(item) + " was read");
  value_line_ = line_number_;
  std::string text = line_.substr(0, width);
  text.resize(width, ' ');
  return text;
}

void FreeReader::begin() {
  // An operation without items still takes its record.
  if (line_due_) fetch_line("an empty record");
  have_line_ = false;
  line_due_ = true;
  slash_seen_ = false;
  after_comma_ = true;
  leading_ = true;
  repeat_left_ = 0;
}

void FreeReader::read(std::int32_t& value, std::string_view item) {
  const Token token = next_token(item);
  if (token.null) return;
  std::int32_t result = 0;
  const NumberStatus status =
      token.quoted ? NumberStatus::malformed : parse_int32(token.text, result);
  if (status != NumberStatus::ok) {
    fail(item, conversion_problem(token.quoted, token.text, "an integer", item, status));
  }
  value = result;
}

void FreeReader::read(float& value, std::string_view item) {
  const Token token = next_token(item);
  if (token.null) return;
  float result = 0.0f;
  const NumberStatus status =
      token.quoted ? NumberStatus::malformed : parse_real(token.text, 0, result);
  if (status != NumberStatus::ok) {
    fail(item, conversion_problem(token.quoted, token.text, "a real", item, status));
  }
  value = result;
}

void FreeReader::read(std::string& value, std::size_t width, std::string_view item) {
  const Token token = next_token(item);
  if (token.null) return;
  value.assign(token.text, 0, std::min(width, token.text.size()));
  value.resize(width, ' ');
}

int FreeReader::line_number() const {
  return value_line_;
}

FreeReader::Token FreeReader::next_token(std::string_view item) {
  if (slash_seen_) return null_token();
  if (repeat_left_ > 0) {
    --repeat_left_;
    return repeat_;
  }
  for (;;) {
    require_line(item);
    while (pos_ < line_.size() && is_blank(line_[pos_])) ++pos_;
    if (pos_ == line_.size()) {
      // The end of a line separates like a blank; the operation goes on with the next line.
      // Blank lines before the operation's first value make its first separator, so a comma
      // after them joins that separator instead of marking a null value.
      have_line_ = false;
      if (leading_) after_comma_ = false;
      continue;
    }
    value_line_ = line_number_;
    leading_ = false;
    const char c = line_[pos_];
    if (c == ',') {
      ++pos_;
      // Two commas with only blanks between, or a comma first on the operation's first
      // line: a null value.
      if (after_comma_) return null_token();
      after_comma_ = true;
      continue;
    }
    if (c == '/') {
      ++pos_;
      slash_seen_ = true;
      return null_token();
    }
    Token token;
    scan_value(token, item);
    after_comma_ = false;
    return token;
  }
}

void FreeReader::scan_value(Token& token, std::string_view item) {
  std::size_t end = pos_;
  while (end < line_.size() && is_digit(line_[end])) ++end;
  if (end == pos_ || end == line_.size() || line_[end] != '*') {
    scan_single(token, item);
    return;
  }
  // r*c or r*: a repeat count of at least 1 and within the int32 range.
  std::int64_t count = 0;
  for (std::size_t i = pos_; i < end && count <= std::numeric_limits<std::int32_t>::max(); ++i) {
    count = count * 10 + (line_[i] - '0');
  }
  if (count < 1 || count > std::numeric_limits<std::int32_t>::max()) {
    fail(item, "bad repeat count in " +
                   shown_quoted(std::string_view(line_).substr(pos_, end + 1 - pos_)) + " for " +
                   std::string(item));
  }
  pos_ = end + 1;
  if (pos_ == line_.size() || is_separator(line_[pos_])) {
    repeat_ = null_token();
  } else {
    repeat_ = Token{};
    scan_single(repeat_, item);
  }
  repeat_left_ = count - 1;
  token = repeat_;
}

void FreeReader::scan_single(Token& token, std::string_view item) {
  if (is_quote(line_[pos_])) {
    scan_quoted(token, item);
    return;
  }
  const std::size_t start = pos_;
  while (pos_ < line_.size() && !is_separator(line_[pos_])) ++pos_;
  token.text.assign(line_, start, pos_ - start);
}

// A quoted text runs to the matching quote, over further lines if need be (the lines are
// joined without a separator); a doubled quote inside stands for one.
void FreeReader::scan_quoted(Token& token, std::string_view item) {
  const char quote = line_[pos_++];
  token.quoted = true;
  for (;;) {
    const std::size_t close = line_.find(quote, pos_);
    if (close == std::string::npos) {
      token.text.append(line_, pos_, std::string::npos);
      if (!fetch_line(item)) fail(item, "file ends before " + std::string(item) + " was read");
      continue;
    }
    token.text.append(line_, pos_, close - pos_);
    pos_ = close + 1;
    if (pos_ < line_.size() && line_[pos_] == quote) {
      token.text += quote;
      ++pos_;
      continue;
    }
    break;
  }
  if (pos_ < line_.size() && !is_separator(line_[pos_])) {
    fail(item, "unexpected text after the quoted text " + shown_quoted(token.text) + " for " +
                   std::string(item));
  }
}

bool FreeReader::fetch_line(std::string_view item) {
  const LineStatus status = read_capped_line(in_, line_);
  if (status == LineStatus::end_of_file) return false;
  ++line_number_;
  if (status == LineStatus::too_long) throw LineTooLong(source_, line_number_, std::string(item));
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  pos_ = 0;
  return true;
}

void FreeReader::require_line(std::string_view item) {
  if (have_line_) return;
  if (!fetch_line(item)) fail(item, "file ends before " + std::string(item) + " was read");
  have_line_ = true;
  line_due_ = false;
}

void FreeReader::fail(std::string_view item, const std::string& problem) const {
  throw ReadError(source_, std::max(line_number_, 1), std::string(item), problem);
}

}  // namespace textio
