// Construction of the text layer's error messages.
#include "textio/errors.h"

#include <utility>

#include "textio/record_input.h"

namespace textio {
namespace {

// "<source>, line <line>: <problem>", appended piece by piece.
std::string located(const std::string& source, int line, const std::string& problem) {
  std::string message = source;
  message.append(", line ").append(std::to_string(line)).append(": ").append(problem);
  return message;
}

}  // namespace

ReadError::ReadError(std::string source, int line, std::string item, const std::string& problem)
    : TextError(located(source, line, problem)),
      source_(std::move(source)),
      line_(line),
      item_(std::move(item)) {}

LineTooLong::LineTooLong(std::string source, int line, std::string item)
    : ReadError(std::move(source), line, std::move(item),
                "line longer than " + std::to_string(kMaxLineLength) +
                    " characters; is this a text file?") {}

}  // namespace textio
