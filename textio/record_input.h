// Taking one line of a text file with a bound on its length, so that a file without line
// ends (a device, a binary file) cannot grow one line until memory runs out.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace textio {

// No record of the suite's text files comes near this; a longer line is not text.
inline constexpr std::size_t kMaxLineLength = std::size_t{1} << 20;

enum class LineStatus { ok, end_of_file, too_long };

// Reads the next line into `line`, without its line end (a final line without one counts).
// `end_of_file` when no character is left; `too_long` when the line holds more than
// kMaxLineLength characters (the stream is then left inside that line).
LineStatus read_capped_line(std::istream& in, std::string& line);

}  // namespace textio
