// The tools' error helpers: each ends the tool with one line on standard output and exit
// status 1 (by throwing ToolExit).
#pragma once

#include <string_view>

namespace spectools {

// "<store message>: <spectrum>" for a failed store call on `spectrum` (the source for
// readfailed, the target for writefailed); control characters of the name are escaped.
[[noreturn]] void library_failed(std::string_view spectrum);
// "not implemented: <text>"
[[noreturn]] void notimplemented(std::string_view text);
// "<store message>", for failures not tied to one spectrum (start-up).
[[noreturn]] void ZQcrash();
// "<text>"
[[noreturn]] void crash(std::string_view text);

}  // namespace spectools
