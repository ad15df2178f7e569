// Free-form (list-directed) reading of record-oriented text files, as the simulation input
// files are read: each read operation starts on a new line and runs on over further lines
// until its list of items is satisfied.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace textio {

class FreeReader {
 public:
  // `source_name` names the file in error messages.
  FreeReader(std::istream& in, std::string source_name);

  // Reads the next line whole as a character value of `width` columns: a shorter line is
  // padded with blanks, a longer one cut. Throws ReadError at the end of the file.
  std::string read_line(std::size_t width, std::string_view item);

  // Starts a new read operation at the beginning of the next line; whatever the previous
  // operation left on its last line is skipped.
  void begin();

  // The items of the current operation, in order. Values are separated by blanks, tabs or
  // commas; r*c stands for r copies of c; a null value (nothing between two commas, or r*)
  // and a slash leave items unchanged, the slash this and all further items of the
  // operation. A real item accepts an integer literal. `item` names the value for error
  // messages; a value that does not read, or the end of the file, throws ReadError.
  void read(std::int32_t& value, std::string_view item);
  void read(float& value, std::string_view item);
  // A character item: up to the next blank, comma or slash unless quoted with ' or " (a
  // doubled quote inside stands for one), stored in `width` columns, blank-padded or cut.
  void read(std::string& value, std::size_t width, std::string_view item);

  // 1-based number of the line the reader last took a value from.
  int line_number() const;

 private:
  // One value of the operation: its text (without the quotes of a quoted one), or a null
  // value, which leaves its item unchanged.
  struct Token {
    bool null = false;
    bool quoted = false;
    std::string text;
  };

  // The value for the next item, or a null one (after a slash, for an empty field, or for
  // an r* repeat).
  Token next_token(std::string_view item);
  static Token null_token();
  void scan_value(Token& token, std::string_view item);
  void scan_single(Token& token, std::string_view item);
  void scan_quoted(Token& token, std::string_view item);
  bool fetch_line(std::string_view item);
  void require_line(std::string_view item);
  [[noreturn]] void fail(std::string_view item, const std::string& problem) const;

  std::istream& in_;
  std::string source_;
  std::string line_;
  std::size_t pos_ = 0;
  int line_number_ = 0;
  int value_line_ = 0;
  bool have_line_ = false;  // line_ is a record of the current operation
  bool line_due_ = false;   // the current operation has not taken its first record yet
  bool slash_seen_ = false;
  bool after_comma_ = true;  // a comma now would mark a null value
  bool leading_ = true;      // nothing but line ends taken yet in this operation
  std::int64_t repeat_left_ = 0;
  Token repeat_;
};

}  // namespace textio
