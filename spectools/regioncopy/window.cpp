// Window arguments, their resolution against the source, and the calibration shift.
#include "spectools/regioncopy/window.h"

#include "spectools/frame/calibration.h"
#include "spectools/frame/failures.h"
#include "spectools/frame/numbers.h"

namespace spectools::regioncopy {
namespace {

// Arguments 3, 4 give axis 1; 5, 6 give axis 2 (argument 0 is the program name).
constexpr int kFirstWindowArgument = 3;

}  // namespace

RequestedWindows requested_windows(int argc, const char* const* argv, const ToolUsage& usage) {
  RequestedWindows windows;
  for (std::size_t axis = 0; axis < windows.size(); ++axis) {
    const int at = kFirstWindowArgument + 2 * static_cast<int>(axis);
    if (argc < at + 2) break;
    windows[axis] =
        Window{decimal_argument(argv[at], usage), decimal_argument(argv[at + 1], usage)};
  }
  return windows;
}

std::array<Window, 2> resolve_windows(const RequestedWindows& requested, const Shape& source,
                                      const std::string& source_name) {
  if (source.dim == 1 && requested[1]) {
    crash("second window given for one dimensional spectrum " + source_name);
  }
  std::array<Window, 2> windows;
  for (std::size_t axis = 0; axis < windows.size(); ++axis) {
    windows[axis] = requested[axis].value_or(Window{source.bases[axis], source.ranges[axis]});
  }
  return windows;
}

std::string shifted_calibration(const std::string& record, int first, int base) {
  std::optional<Calibration> calibration = parse_calibration(record);
  if (!calibration) return record;
  calibration->offset += (static_cast<double>(first) - base) * calibration->slope;
  return format_calibration(*calibration);
}

}  // namespace spectools::regioncopy
