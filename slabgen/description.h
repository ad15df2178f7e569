// The crystal description file: "key = value" lines, '#' starts a comment. A key is one or
// more words ("relax d12", "mass Cu"); the value is the rest of the line after '='.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace slabgen {

// A description that cannot be used. what() is "<source>, line <n>: <problem>" or
// "<source>: <problem>" when no line is to blame.
class DescriptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Entry {
  std::string key;                      // the first word of the key
  std::vector<std::string> qualifiers;  // the further words of the key
  std::string text;                     // the value, trimmed
  std::vector<std::string> words;       // the value split at blanks and commas
  int line = 0;
};

class Description {
 public:
  // Throws DescriptionError for a line without '=' or with an empty key.
  static Description parse(std::string_view text, std::string source);
  static Description read_file(const std::string& path);

  // The one entry `key` without qualifiers, or nullptr; throws when it is given twice.
  const Entry* find(std::string_view key) const;
  // Every entry whose first key word is `key`, in file order.
  std::vector<const Entry*> all(std::string_view key) const;
  // Throws for the first entry whose key is not among `known`.
  void check_keys(const std::vector<std::string_view>& known) const;

  [[noreturn]] void fail(const Entry& at, const std::string& problem) const;
  [[noreturn]] void fail(const std::string& problem) const;

  // Typed values of an entry; each throws naming the line when the value does not read.
  double number(const Entry& e, std::size_t word = 0) const;
  int integer(const Entry& e, std::size_t word = 0) const;
  std::vector<double> numbers(const Entry& e, std::size_t first = 0) const;

 private:
  std::string source_;
  std::vector<Entry> entries_;
};

}  // namespace slabgen
