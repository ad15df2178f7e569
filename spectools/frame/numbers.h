// Numbers on a tool's command line. The whole argument must be one number of the expected
// form (surrounding blanks allowed); anything else, or a value out of range, is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "spectools/frame/usage.h"

namespace spectools {

// A decimal integer, as "%d" reads it.
std::optional<int> scan_decimal(std::string_view text);
// An integer in C notation, as "%i" reads it: 0x... hexadecimal, leading 0 octal.
std::optional<int> scan_integer(std::string_view text);
// A finite real, as "%lf" reads it.
std::optional<double> scan_real(std::string_view text);

// The same, ending the tool with the usage text and exit status 1 when the argument is not
// such a number.
int decimal_argument(std::string_view text, const ToolUsage& usage);
int integer_argument(std::string_view text, const ToolUsage& usage);
double real_argument(std::string_view text, const ToolUsage& usage);

// A real as "%g" prints it, for messages.
std::string number_text(double value);

}  // namespace spectools
