// One-dimensional inputs go in whole (rebinned when their slope is smaller than the merged
// one); two-dimensional inputs go in column by column (moved in blocks of columns), each
// column rebinned along axis 2 and columns placed one target column apart along axis 1.
#include "spectools/histsum/stitch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "spectools/frame/blocks.h"
#include "spectools/frame/column_blocks.h"
#include "spectools/histsum/rebin.h"

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
  Counts counts = read_block(input.name, input.shape, whole_spectrum(input.shape));
  const Placement& at = line.placement;
  if (line.rebinned) counts = rebinColumn(counts, static_cast<std::size_t>(at.span));
  if (at.span == 0) return;
  write_block(target, Block{1, {at.position, 0}, {at.span, 0}}, counts);
}

void stitch_lines(const MergePlan& plan, const std::vector<MergeInput>& inputs,
                  const std::string& target) {
  const int channels = channel_count(plan, 0);
  const std::vector<LinePlacement> placements = line_placements(plan, inputs);
  create_spectrum(target, Block{1, {0, 0}, {channels, 0}}, inputs.front().shape);
  for (std::size_t i = 0; i < inputs.size(); ++i) write_line(inputs[i], placements[i], target);
}

using PlanePlacement = std::array<Placement, kMergeAxes>;

// The input's columns, each rebinned along axis 2 onto the span of its placement.
void write_plane(const MergeInput& input, const PlanePlacement& at, const std::string& target) {
  const int span = at[1].span;
  if (span == 0) return;  // the input covers less than half a merged channel along axis 2
  const ColumnFill fill = [span](int, std::span<const std::int32_t> column,
                                 std::span<std::int32_t> merged) {
    const Counts rebinned = rebinColumn(column, static_cast<std::size_t>(span));
    std::copy(rebinned.begin(), rebinned.end(), merged.begin());
  };
  transform_columns(input.name, input.shape, target,
                    ColumnTarget{at[0].position, at[1].position, span}, fill);
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
  create_spectrum(target, Block{2, {0, 0}, {channels1, channels2}}, inputs.front().shape);
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
