// regioncopy: reads the window from the source, writes it to a new spectrum based at
// channel 0 on every axis, carries the records over and shifts the calibration of every axis
// that had a window on the command line.
#include "spectools/regioncopy/regioncopy.h"

#include <cstdint>
#include <vector>

#include "spectools/frame/blocks.h"
#include "spectools/frame/records.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/regioncopy/window.h"

namespace spectools::regioncopy {
namespace {

// The window as a block of the source, and the target's extent: the window moved to
// channel 0 on every axis.
Block window_block(const Shape& source, const std::array<Window, 2>& windows) {
  return {source.dim, {windows[0].first, windows[1].first}, {windows[0].count, windows[1].count}};
}

Block target_extent(const Shape& source, const std::array<Window, 2>& windows) {
  return {source.dim, {0, 0}, {windows[0].count, windows[1].count}};
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
  const Shape source = inquire_spectrum(session.fromspec);
  require_one_or_two_dimensional(source);
  const std::array<Window, 2> windows = resolve_windows(requested, source, session.fromspec);

  // The window is read before the target is created: a window outside the source fails in
  // the store's extent check and leaves no target behind.
  const std::vector<std::int32_t> counts =
      read_block(session.fromspec, source, window_block(source, windows));
  // The target starts at channel 0 and takes the window's counts, the source's layout and type.
  const Block extent = target_extent(source, windows);
  create_spectrum(session.tospec, extent, source);
  write_block(session.tospec, extent, counts);
  copy_records(session.fromspec, session.tospec, source.dim, shifting_copy(requested, source));
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::regioncopy
