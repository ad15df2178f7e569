// Where the inputs of a merge go: the merged axes from the inputs' calibrations, the
// target's channel counts and calibration records, and each input's position and span in
// target channels. Calibrated value = offset + slope * channel.
#pragma once

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "spectools/frame/calibration.h"
#include "spectools/frame/shape.h"

namespace spectools::histsum {

inline constexpr std::size_t kMergeAxes = 2;

// One input spectrum: its description and the usable calibration of each axis (none where
// the record is empty or does not parse).
struct MergeInput {
  std::string name;
  Shape shape;
  std::array<std::optional<Calibration>, kMergeAxes> calibrations;
};

// One axis of the merged spectrum, gathered over all inputs in command-line order.
struct MergedAxis {
  double slope = 0.0;                                   // largest input slope
  double minimum = std::numeric_limits<double>::max();  // lowest calibrated start
  double maximum = 0.0;                                 // highest calibrated end, never below 0
  std::string second_word;  // of this axis's most recently parsed record
};

struct MergePlan {
  int dim = 0;
  std::array<MergedAxis, kMergeAxes> axes;
  std::string first_word;  // of the most recently parsed record of any axis
};

// The merged axes of `inputs` (all of dimension `dim`, 1 or 2). Throws std::domain_error
// when an input's calibration slope is not positive, or no input has a usable calibration
// on an axis: neither can place counts on a calibrated axis.
MergePlan plan_merge(const std::vector<MergeInput>& inputs, int dim);

// Channel count of merged axis `axis` (0-based): (maximum - minimum) / slope + 0.5,
// truncated; std::range_error when that is not an int.
int channel_count(const MergePlan& plan, std::size_t axis);

// Calibration record of the merged axis: the most recent first word, the axis's own second
// word, the integer 2, offset `minimum` and the largest slope.
Calibration target_calibration(const MergePlan& plan, std::size_t axis);

// An input's first target channel and its channel count there.
struct Placement {
  int position = 0;
  int span = 0;
};

// Placement of `input` on axis `axis` (0-based) of a two-dimensional merge: position
// (offset - minimum) / slope + 0.5 and span channels * input slope / slope + 0.5, both
// truncated, with the merged axis's largest slope; an axis without calibration counts as
// offset 0 and slope 0. Throws std::range_error when the position is not an int.
Placement place(const MergePlan& plan, const MergeInput& input, std::size_t axis);

// Placement of a one-dimensional input. Without calibration the input goes, unrebinned, to
// `previous` (the position of the input before it). An input with the largest slope goes
// unrebinned to (offset - minimum) / slope + 0.5. An input with a smaller slope is rebinned:
// it starts at that channel and ends at the one its calibrated end rounds to, so that it
// never runs past the merged spectrum's last channel.
struct LinePlacement {
  Placement placement;
  bool rebinned = false;
};
LinePlacement place_line(const MergePlan& plan, const MergeInput& input, int previous);

}  // namespace spectools::histsum
