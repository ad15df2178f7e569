// The window regioncopy copies: a first channel and a channel count per axis, taken from
// the command line or, for an axis without one, the source's whole axis.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "spectools/frame/shape.h"
#include "spectools/frame/usage.h"

namespace spectools::regioncopy {

struct Window {
  int first = 0;
  int count = 0;
};

// Windows named on the command line: axis 1 by arguments 3 and 4 (when at least four
// arguments follow the program name), axis 2 by arguments 5 and 6 (when at least six); a
// lone extra argument is ignored. A window number that is not a decimal integer ends the
// tool with the usage text.
using RequestedWindows = std::array<std::optional<Window>, 2>;
RequestedWindows requested_windows(int argc, const char* const* argv, const ToolUsage& usage);

// The window of each axis of `source`: the requested one, else the whole axis. The window is
// not compared with the source's extent here; the store refuses a block outside it. A
// window for axis 2 of a one-dimensional source is refused.
std::array<Window, 2> resolve_windows(const RequestedWindows& requested, const Shape& source,
                                      const std::string& source_name);

// A calibration record of an axis whose window starts at channel `first` of an axis whose
// first channel is `base`: the offset moves to the window's first channel, so that target
// channel 0 keeps the calibrated value of source channel `first`. A record that does not
// parse is returned unchanged.
std::string shifted_calibration(const std::string& record, int first, int base);

}  // namespace spectools::regioncopy
