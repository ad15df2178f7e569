// The intensity correction run: rows of axis 2 read, divided by their weight and written in
// blocks of several rows.
#include "spectools/flatcorr/flatcorr_tool.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "spectools/flatcorr/flat_weight.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/frame/usage.h"
#include "zq/zq.h"

namespace spectools::flatcorr {
namespace {

// Rows are moved in blocks of about this many channels: one store call per block instead of
// one per row, with a buffer of bounded size.
constexpr long long kBlockChannels = 1 << 16;

void flatten_rows(const Session& session, const Shape& shape) {
  const int width = shape.ranges[0];
  const int rows_per_block =
      static_cast<int>(std::clamp<long long>(kBlockChannels / width, 1, shape.ranges[1]));
  std::vector<std::int32_t> block(static_cast<std::size_t>(width) * rows_per_block);
  for (long long done = 0; done < shape.ranges[1]; done += rows_per_block) {
    const int first = static_cast<int>(shape.bases[1] + done);
    const int rows = static_cast<int>(std::min<long long>(rows_per_block, shape.ranges[1] - done));
    if (ZQread2dSpectrum(session.fromspec.c_str(), shape.bases[0], width, first, rows, block.data(),
                         kCountType) != 0) {
      session.readfailed();
    }
    // Axis 1 runs fastest in the block: row k is one run of `width` counts.
    for (int k = 0; k < rows; ++k) {
      const float weight = flatWeight(first + k, shape.ranges[1]);
      const auto row = block.begin() + static_cast<std::ptrdiff_t>(k) * width;
      for (auto count = row; count != row + width; ++count) *count = flattened(*count, weight);
    }
    if (ZQwrite2dSpectrum(session.tospec.c_str(), shape.bases[0], width, first, rows, block.data(),
                          kCountType) != 0) {
      session.writefailed();
    }
  }
}

}  // namespace

std::string run(int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of("flatcorr");
  const Session session = start_up(argc, argv, usage);
  refuse_source_as_target({session.fromspec}, session.tospec);

  Shape shape;
  if (inquire(session.fromspec, shape) != 0) session.readfailed();
  require_two_dimensional(shape);
  require_positive_weights(shape.bases[1], shape.ranges[1]);
  if (ZQcreate2dSpectrum(session.tospec.c_str(), shape.bases[0], shape.ranges[0], shape.bases[1],
                         shape.ranges[1], shape.layout, shape.type) != 0) {
    session.writefailed();
  }
  flatten_rows(session, shape);
  copy_records(session.fromspec, session.tospec, shape.dim);
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::flatcorr
