// One-dimensional inputs go in whole (rebinned when their slope is smaller than the merged
// one); two-dimensional inputs go in column by column, each column rebinned along axis 2 and
// columns placed one target column apart along axis 1.
#include "spectools/histsum/stitch.h"

#include <array>
#include <cstdint>

#include "spectools/frame/failures.h"
#include "spectools/histsum/rebin.h"
#include "zq/zq.h"

namespace spectools::histsum {
namespace {

using Counts = std::vector<std::int32_t>;

std::vector<LinePlacement> line_placements(const MergePlan& plan,
                                           const std::vector<MergeInput>& inputs) {
  std::vector<LinePlacement> placements;
  placements.reserve(inputs.size());
  int previous = 0;
  for (const MergeInput& input : inputs) {
    placements.push_back(place_line(plan, input, previous));
    previous = placements.back().placement.position;
  }
  return placements;
}

void write_line(const MergeInput& input, const LinePlacement& line, const std::string& target) {
  const Shape& shape = input.shape;
  Counts counts(static_cast<std::size_t>(shape.ranges[0]));
  if (ZQread1dSpectrum(input.name.c_str(), shape.bases[0], shape.ranges[0], counts.data(),
                       kCountType) != 0) {
    library_failed(input.name);
  }
  const Placement& at = line.placement;
  if (line.rebinned) counts = rebinColumn(counts, static_cast<std::size_t>(at.span));
  if (at.span == 0) return;
  if (ZQwrite1dSpectrum(target.c_str(), at.position, at.span, counts.data(), kCountType) != 0) {
    library_failed(target);
  }
}

void stitch_lines(const MergePlan& plan, const std::vector<MergeInput>& inputs,
                  const std::string& target) {
  const int channels = channel_count(plan, 0);
  const std::vector<LinePlacement> placements = line_placements(plan, inputs);
  const Shape& first = inputs.front().shape;
  if (ZQcreate1dSpectrum(target.c_str(), 0, channels, first.layout, first.type) != 0) {
    library_failed(target);
  }
  for (std::size_t i = 0; i < inputs.size(); ++i) write_line(inputs[i], placements[i], target);
}

using PlanePlacement = std::array<Placement, kMergeAxes>;

// The input's columns (axis 1 fastest in both blocks) each rebinned onto `span` channels.
Counts rebinned_columns(const Counts& block, std::size_t columns, std::size_t rows,
                        std::size_t span) {
  Counts result(columns * span);
  Counts column(rows);
  for (std::size_t i = 0; i < columns; ++i) {
    for (std::size_t j = 0; j < rows; ++j) column[j] = block[j * columns + i];
    const Counts rebinned = rebinColumn(column, span);
    for (std::size_t j = 0; j < span; ++j) result[j * columns + i] = rebinned[j];
  }
  return result;
}

void write_plane(const MergeInput& input, const PlanePlacement& at, const std::string& target) {
  const Shape& shape = input.shape;
  const int span = at[1].span;
  if (span == 0) return;  // the input covers less than half a merged channel along axis 2
  Counts block(static_cast<std::size_t>(shape.channels()));
  if (ZQread2dSpectrum(input.name.c_str(), shape.bases[0], shape.ranges[0], shape.bases[1],
                       shape.ranges[1], block.data(), kCountType) != 0) {
    library_failed(input.name);
  }
  const Counts merged =
      rebinned_columns(block, static_cast<std::size_t>(shape.ranges[0]),
                       static_cast<std::size_t>(shape.ranges[1]), static_cast<std::size_t>(span));
  if (ZQwrite2dSpectrum(target.c_str(), at[0].position, shape.ranges[0], at[1].position, span,
                        merged.data(), kCountType) != 0) {
    library_failed(target);
  }
}

void stitch_planes(const MergePlan& plan, const std::vector<MergeInput>& inputs,
                   const std::string& target) {
  const int channels1 = channel_count(plan, 0);
  const int channels2 = channel_count(plan, 1);
  std::vector<PlanePlacement> placements;
  placements.reserve(inputs.size());
  for (const MergeInput& input : inputs) {
    placements.push_back({place(plan, input, 0), place(plan, input, 1)});
  }
  const Shape& first = inputs.front().shape;
  if (ZQcreate2dSpectrum(target.c_str(), 0, channels1, 0, channels2, first.layout, first.type) !=
      0) {
    library_failed(target);
  }
  for (std::size_t i = 0; i < inputs.size(); ++i) write_plane(inputs[i], placements[i], target);
}

}  // namespace

void stitch(const MergePlan& plan, const std::vector<MergeInput>& inputs,
            const std::string& target) {
  if (plan.dim == 1) {
    stitch_lines(plan, inputs, target);
  } else {
    stitch_planes(plan, inputs, target);
  }
}

}  // namespace spectools::histsum
