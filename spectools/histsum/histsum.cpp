// histsum: reads every input's description and calibration, works out the merged axes,
// writes the inputs into the new spectrum, copies the first input's records and writes the
// merged calibration of every axis.
#include "spectools/histsum/histsum.h"

#include <vector>

#include "spectools/frame/failures.h"
#include "spectools/frame/records.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/histsum/inputs.h"
#include "spectools/histsum/stitch.h"

namespace spectools::histsum {
namespace {

void write_calibrations(const MergePlan& plan, const std::string& target) {
  for (int axis = 1; axis <= plan.dim; ++axis) {
    const std::string record =
        format_calibration(target_calibration(plan, static_cast<std::size_t>(axis - 1)));
    if (write_record(RecordKind::calibration, target, axis, record) != 0) library_failed(target);
  }
}

}  // namespace

std::string run(int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of("histsum");
  start_up(argc, argv, usage);
  // All arguments but the last are inputs; the last names the target.
  const std::vector<std::string> names(argv + 1, argv + argc - 1);
  const std::string target = argv[argc - 1];
  refuse_source_as_target(names, target);

  const std::vector<MergeInput> inputs = read_inputs(names);
  const int dim = inputs.front().shape.dim;
  const MergePlan plan = plan_merge(inputs, dim);
  stitch(plan, inputs, target);

  RecordCopy copy;
  copy.calibration = false;  // recomputed for the merged axes below
  copy_records(inputs.front().name, target, dim, copy);
  write_calibrations(plan, target);
  return closing_message(usage, {target});
}

}  // namespace spectools::histsum
