// histcopy: reads the whole source, complements its counts, and writes them to a target of
// the same shape, layout and type; the records are carried over unchanged.
#include "spectools/histcopy/histcopy.h"

#include <cstdint>
#include <vector>

#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/histcopy/complement.h"
#include "zq/zq.h"

namespace spectools::histcopy {
namespace {

std::vector<std::int32_t> read_whole(const Session& session, const Shape& shape) {
  std::vector<std::int32_t> counts(static_cast<std::size_t>(shape.channels()));
  const char* name = session.fromspec.c_str();
  const int status =
      shape.dim == 1
          ? ZQread1dSpectrum(name, shape.bases[0], shape.ranges[0], counts.data(), kCountType)
          : ZQread2dSpectrum(name, shape.bases[0], shape.ranges[0], shape.bases[1], shape.ranges[1],
                             counts.data(), kCountType);
  if (status != 0) session.readfailed();
  return counts;
}

// The target takes the source's bases, ranges, layout and type.
void write_whole(const Session& session, const Shape& shape,
                 const std::vector<std::int32_t>& counts) {
  const char* name = session.tospec.c_str();
  if (shape.dim == 1) {
    if (ZQcreate1dSpectrum(name, shape.bases[0], shape.ranges[0], shape.layout, shape.type) != 0 ||
        ZQwrite1dSpectrum(name, shape.bases[0], shape.ranges[0], counts.data(), kCountType) != 0) {
      session.writefailed();
    }
    return;
  }
  if (ZQcreate2dSpectrum(name, shape.bases[0], shape.ranges[0], shape.bases[1], shape.ranges[1],
                         shape.layout, shape.type) != 0 ||
      ZQwrite2dSpectrum(name, shape.bases[0], shape.ranges[0], shape.bases[1], shape.ranges[1],
                        counts.data(), kCountType) != 0) {
    session.writefailed();
  }
}

}  // namespace

std::string run(int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of("histcopy");
  const Session session = start_up(argc, argv, usage);
  refuse_source_as_target({session.fromspec}, session.tospec);
  Shape shape;
  if (inquire(session.fromspec, shape) != 0) session.readfailed();
  require_one_or_two_dimensional(shape);

  // Read and complement before the target exists, so that an unreadable source or a
  // complement that overflows leaves no target behind.
  std::vector<std::int32_t> counts = read_whole(session, shape);
  complement_counts(counts);
  write_whole(session, shape, counts);
  copy_records(session.fromspec, session.tospec, shape.dim);
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::histcopy
