// One data set's simulation run and the R-factor at each of its model points.
#include "structfit/simulation_curves.h"

#include <fstream>
#include <string>

#include "structfit/experiment_file.h"
#include "structfit/fit_errors.h"
#include "structfit/prepare_input.h"
#include "structfit/rfactor.h"
#include "structfit/rfactor_errors.h"
#include "structfit/rfactor_simulated.h"
#include "structfit/run_simulation.h"
#include "structfit/skew_file.h"
#include "textio/fixed_text.h"

namespace structfit {
namespace {

constexpr const char* kInputName = "inmulti.in";

// "out1", "skew1", ...: the data-set number as one digit.
std::string set_root(const char* stem, std::size_t set) {
  return stem + std::to_string(set + 1);
}

// A refusal of the R-factor with the file (and its line) it concerns.
[[noreturn]] void refuse(const RFactorRefused& why, const std::string& experiment,
                         const std::string& simulated) {
  const std::string file = why.input() == RFactorInput::experiment   ? experiment
                           : why.input() == RFactorInput::simulation ? simulated
                                                                     : "bfgsin.dat";
  const std::string line = why.point() > 0 ? ", line " + std::to_string(why.point()) : "";
  throw SetupRefused(" " + file + line + ": " + why.what());
}

}  // namespace

SimulationCurves::SimulationCurves(const FitSetup& setup, std::int64_t seed, std::ostream& console,
                                   polysim::Simulator& simulator)
    : setup_(setup),
      seed_(seed),
      console_(console),
      simulator_(simulator),
      tables_(engine::build_fixed_tables()) {
  for (const DataSet& set : setup.data_sets)
    measured_.push_back(
        read_experiment_file(std::string(textio::trim_trailing(set.experiment_path))));
}

float SimulationCurves::point_r_factor(std::size_t set, std::int32_t point) const {
  const DataSet& data = setup_.data_sets[set];
  const std::string simulated_path = short_result_path(set_root("out", set), point);
  std::ifstream in(simulated_path);
  if (!in) throw SetupRefused(" cannot open result file " + simulated_path);
  std::vector<std::int32_t> include;
  std::vector<float> weights;
  for (const ElementColumn& column : setup_.elements) {
    include.push_back(column.include);
    weights.push_back(column.weight);
  }
  const Curve simulated = read_simulated_curve(in, simulated_path, include, weights);
  const ScaleConstraint constraint{data.constraint_flag == 1, data.nominal_scale,
                                   data.tolerance_percent};
  try {
    const RFactorResult result = curve_r_factor(measured_[set], simulated, constraint);
    write_skew_file(short_result_path(set_root("skew", set), point), result.skew);
    return result.r;
  } catch (const RFactorRefused& why) {
    refuse(why, std::string(textio::trim_trailing(data.experiment_path)), simulated_path);
  } catch (const SkewFileError& why) {
    throw SetupRefused(std::string(" ") + why.what());
  }
}

DataSetCurve SimulationCurves::operator()(std::size_t set, const std::vector<float>& values,
                                          std::int32_t index) const {
  const std::string base(textio::trim_trailing(setup_.data_sets[set].base_path));
  DataSetCurve curve;
  curve.weight = prepare_simulation_input(setup_, values, index, base, kInputName, console_);
  run_simulation(kInputName, set_root("out", set), tables_, seed_, console_, simulator_);
  for (std::int32_t l = 1; l <= setup_.point_count; ++l) curve.r.push_back(point_r_factor(set, l));
  return curve;
}

}  // namespace structfit
