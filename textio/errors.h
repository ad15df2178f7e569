// Typed errors of the record-oriented text layer. Programs turn them into one line of text
// and a non-zero exit; the libraries never print.
#pragma once

#include <stdexcept>
#include <string>

namespace textio {

// Base of every error raised by the text layer.
class TextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value that cannot be read as its item's type, or a file that ends before a read
// operation's list is satisfied. what() is "<source>, line <line>: <problem>".
class ReadError : public TextError {
 public:
  ReadError(std::string source, int line, std::string item, const std::string& problem);
  const std::string& source() const { return source_; }
  int line() const { return line_; }
  const std::string& item() const { return item_; }

 private:
  std::string source_;
  int line_;
  std::string item_;
};

// A line longer than any record of a text file (kMaxLineLength characters): the file is not
// text, or has no line ends. what() is "<source>, line <line>: line longer than ...".
class LineTooLong : public ReadError {
 public:
  LineTooLong(std::string source, int line, std::string item);
};

// A format text that cannot be interpreted, or values that do not match its descriptors.
// This is a fault of the calling program, not of its input.
class FormatError : public TextError {
 public:
  using TextError::TextError;
};

}  // namespace textio
