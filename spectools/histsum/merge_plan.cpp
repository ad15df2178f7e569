// Merged axes and input placements of histsum, in double precision; every channel number is
// rounded as value + 0.5 truncated toward zero and checked to be an int.
#include "spectools/histsum/merge_plan.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

namespace spectools::histsum {
namespace {

std::string axis_text(std::size_t axis) {
  return "axis " + std::to_string(axis + 1);
}

int rounded_channel(double value, const std::string& what) {
  const double shifted = value + 0.5;
  // NaN fails both comparisons.
  if (!(shifted > static_cast<double>(INT_MIN) - 1.0 &&
        shifted < static_cast<double>(INT_MAX) + 1.0)) {
    throw std::range_error(what + " is out of range");
  }
  return static_cast<int>(shifted);
}

// Calibrated end of an input's axis, offset + slope * (base + channels).
double calibrated_end(const Calibration& calibration, int base, int channels) {
  return calibration.offset + calibration.slope * (static_cast<double>(base) + channels);
}

void accumulate(MergedAxis& merged, const Calibration& calibration, int base, int channels) {
  merged.slope = std::max(merged.slope, calibration.slope);
  merged.minimum = std::min(merged.minimum, calibration.offset + calibration.slope * base);
  merged.maximum = std::max(merged.maximum, calibrated_end(calibration, base, channels));
  merged.second_word = calibration.word2;
}

}  // namespace

MergePlan plan_merge(const std::vector<MergeInput>& inputs, int dim) {
  MergePlan plan;
  plan.dim = dim;
  const auto axes = static_cast<std::size_t>(dim);
  for (const MergeInput& input : inputs) {
    for (std::size_t axis = 0; axis < axes; ++axis) {
      const std::optional<Calibration>& calibration = input.calibrations[axis];
      if (!calibration) continue;
      if (!(calibration->slope > 0.0)) {
        throw std::domain_error("calibration slope of spectrum " + input.name + " on " +
                                axis_text(axis) + " is not positive");
      }
      accumulate(plan.axes[axis], *calibration, input.shape.bases[axis], input.shape.ranges[axis]);
      plan.first_word = calibration->word1;
    }
  }
  for (std::size_t axis = 0; axis < axes; ++axis) {
    if (plan.axes[axis].slope == 0.0) {
      throw std::domain_error("no input spectrum has a usable calibration on " + axis_text(axis));
    }
  }
  return plan;
}

int channel_count(const MergePlan& plan, std::size_t axis) {
  const MergedAxis& merged = plan.axes[axis];
  return rounded_channel((merged.maximum - merged.minimum) / merged.slope,
                         "channel count of the merged spectrum on " + axis_text(axis));
}

Calibration target_calibration(const MergePlan& plan, std::size_t axis) {
  const MergedAxis& merged = plan.axes[axis];
  return Calibration{plan.first_word, merged.second_word, 2, merged.minimum, merged.slope};
}

Placement place(const MergePlan& plan, const MergeInput& input, std::size_t axis) {
  const MergedAxis& merged = plan.axes[axis];
  const Calibration calibration = input.calibrations[axis].value_or(Calibration{});
  const std::string what = "position of spectrum " + input.name + " on " + axis_text(axis);
  const int channels = input.shape.ranges[axis];
  return Placement{rounded_channel((calibration.offset - merged.minimum) / merged.slope, what),
                   rounded_channel(channels * calibration.slope / merged.slope, "span of " + what)};
}

LinePlacement place_line(const MergePlan& plan, const MergeInput& input, int previous) {
  const int channels = input.shape.ranges[0];
  const std::optional<Calibration>& calibration = input.calibrations[0];
  if (!calibration) return {{previous, channels}, false};
  const MergedAxis& merged = plan.axes[0];
  const std::string what = "position of spectrum " + input.name + " on axis 1";
  const int position = rounded_channel((calibration->offset - merged.minimum) / merged.slope, what);
  if (calibration->slope == merged.slope) return {{position, channels}, false};
  // The same end as the merged maximum takes for this input, so that an input reaching the
  // maximum ends exactly on the merged spectrum's last channel.
  const int end = rounded_channel(
      (calibrated_end(*calibration, 0, channels) - merged.minimum) / merged.slope, what);
  const long long span = static_cast<long long>(end) - position;
  if (span > INT_MAX) throw std::range_error("span of " + what + " is out of range");
  return {{position, static_cast<int>(span)}, true};
}

}  // namespace spectools::histsum
