// histcopy: reads the whole source, complements its counts, and writes them to a target of
// the same shape, layout and type; the records are carried over unchanged.
#include "spectools/histcopy/histcopy.h"

#include <cstdint>
#include <vector>

#include "spectools/frame/blocks.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/frame/usage.h"
#include "spectools/histcopy/complement.h"

namespace spectools::histcopy {

std::string run(int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of("histcopy");
  const Session session = start_up(argc, argv, usage);
  refuse_source_as_target({session.fromspec}, session.tospec);
  const Shape shape = inquire_spectrum(session.fromspec);
  require_one_or_two_dimensional(shape);

  // Read and complement before the target exists, so that an unreadable source or a
  // complement that overflows leaves no target behind. The target takes the source's bases,
  // ranges, layout and type.
  const Block whole = whole_spectrum(shape);
  std::vector<std::int32_t> counts = read_block(session.fromspec, shape, whole);
  complement_counts(counts);
  create_spectrum(session.tospec, whole, shape);
  write_block(session.tospec, whole, counts);
  copy_records(session.fromspec, session.tospec, shape.dim);
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::histcopy
