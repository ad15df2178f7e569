// Inquiry and calibration records of every input, in command-line order.
#include "spectools/histsum/inputs.h"

#include "spectools/frame/failures.h"
#include "spectools/frame/records.h"

namespace spectools::histsum {
namespace {

MergeInput read_input(const std::string& name, int common_dim) {
  MergeInput input{name, inquire_spectrum(name), {}};
  if (common_dim != 0 && input.shape.dim != common_dim) {
    crash("spectra have different dimensions");
  }
  require_one_or_two_dimensional(input.shape);
  for (int axis = 1; axis <= input.shape.dim; ++axis) {
    std::string record;
    if (read_record(RecordKind::calibration, name, axis, record) != 0) library_failed(name);
    input.calibrations[static_cast<std::size_t>(axis - 1)] = parse_calibration(record);
  }
  return input;
}

}  // namespace

std::vector<MergeInput> read_inputs(const std::vector<std::string>& names) {
  std::vector<MergeInput> inputs;
  inputs.reserve(names.size());
  for (const std::string& name : names) {
    inputs.push_back(read_input(name, inputs.empty() ? 0 : inputs.front().shape.dim));
  }
  return inputs;
}

}  // namespace spectools::histsum
