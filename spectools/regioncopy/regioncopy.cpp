// regioncopy: reads the window from the source, writes it to a new spectrum based at
// channel 0 on every axis, carries the records over and shifts the calibration of every axis
// that had a window on the command line.
#include "spectools/regioncopy/regioncopy.h"

#include <cstdint>
#include <vector>

#include "spectools/frame/records.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/regioncopy/window.h"
#include "zq/zq.h"

namespace spectools::regioncopy {
namespace {

std::vector<std::int32_t> read_window(const Session& session, const Shape& source,
                                      const std::array<Window, 2>& windows) {
  std::vector<std::int32_t> counts(window_buffer_elements(windows, source.dim, source.channels()));
  const char* name = session.fromspec.c_str();
  const auto& [axis1, axis2] = windows;
  const int status =
      source.dim == 1 ? ZQread1dSpectrum(name, axis1.first, axis1.count, counts.data(), kCountType)
                      : ZQread2dSpectrum(name, axis1.first, axis1.count, axis2.first, axis2.count,
                                         counts.data(), kCountType);
  if (status != 0) session.readfailed();
  return counts;
}

// The target starts at channel 0 and takes the window's counts, the source's layout and type.
void write_window(const Session& session, const Shape& source, const std::array<Window, 2>& windows,
                  const std::vector<std::int32_t>& counts) {
  const char* name = session.tospec.c_str();
  const int count1 = windows[0].count;
  const int count2 = windows[1].count;
  const bool written =
      source.dim == 1
          ? ZQcreate1dSpectrum(name, 0, count1, source.layout, source.type) == 0 &&
                ZQwrite1dSpectrum(name, 0, count1, counts.data(), kCountType) == 0
          : ZQcreate2dSpectrum(name, 0, count1, 0, count2, source.layout, source.type) == 0 &&
                ZQwrite2dSpectrum(name, 0, count1, 0, count2, counts.data(), kCountType) == 0;
  if (!written) session.writefailed();
}

// Calibration records of axes with a window on the command line are shifted; everything
// else is copied as it stands.
RecordCopy shifting_copy(const RequestedWindows& requested, const Shape& source) {
  RecordCopy copy;
  copy.edit = [requested, source](RecordKind kind, int number, const std::string& text) {
    if (kind != RecordKind::calibration) return text;
    const auto axis = static_cast<std::size_t>(number - 1);
    if (axis >= requested.size() || !requested[axis]) return text;
    return shifted_calibration(text, requested[axis]->first, source.bases[axis]);
  };
  return copy;
}

}  // namespace

std::string run(int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of("regioncopy");
  const Session session = start_up(argc, argv, usage);
  const RequestedWindows requested = requested_windows(argc, argv, usage);
  refuse_source_as_target({session.fromspec}, session.tospec);
  Shape source;
  if (inquire(session.fromspec, source) != 0) session.readfailed();
  require_one_or_two_dimensional(source);
  const std::array<Window, 2> windows = resolve_windows(requested, source, session.fromspec);

  // The window is read before the target is created: a window outside the source fails in
  // the store's extent check and leaves no target behind.
  const std::vector<std::int32_t> counts = read_window(session, source, windows);
  write_window(session, source, windows, counts);
  copy_records(session.fromspec, session.tospec, source.dim, shifting_copy(requested, source));
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::regioncopy
