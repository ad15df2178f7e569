// The intensity correction run: every column divided, row by row, by the weight of its row of
// axis 2, moved in blocks of columns.
#include "spectools/flatcorr/flatcorr_tool.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "spectools/flatcorr/flat_weight.h"
#include "spectools/frame/blocks.h"
#include "spectools/frame/column_blocks.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/frame/usage.h"

namespace spectools::flatcorr {
namespace {

// The weight of every row of axis 2, first channel first.
std::vector<float> row_weights(const Shape& shape) {
  std::vector<float> weights(static_cast<std::size_t>(shape.ranges[1]));
  for (std::size_t k = 0; k < weights.size(); ++k) {
    weights[k] = flatWeight(shape.bases[1] + static_cast<int>(k), shape.ranges[1]);
  }
  return weights;
}

void flatten_columns(const Session& session, const Shape& shape) {
  const std::vector<float> weights = row_weights(shape);
  const ColumnFill fill = [&weights](int, std::span<const std::int32_t> column,
                                     std::span<std::int32_t> flat) {
    for (std::size_t k = 0; k < column.size(); ++k) flat[k] = flattened(column[k], weights[k]);
  };
  transform_columns(session.fromspec, shape, session.tospec,
                    ColumnTarget{shape.bases[0], shape.bases[1], shape.ranges[1]}, fill);
}

}  // namespace

std::string run(int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of("flatcorr");
  const Session session = start_up(argc, argv, usage);
  refuse_source_as_target({session.fromspec}, session.tospec);

  const Shape shape = inquire_spectrum(session.fromspec);
  require_two_dimensional(shape);
  require_positive_weights(shape.bases[1], shape.ranges[1]);
  create_spectrum(session.tospec, whole_spectrum(shape), shape);
  flatten_columns(session, shape);
  copy_records(session.fromspec, session.tospec, shape.dim);
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::flatcorr
