// Objective, gradient and bracket test of the fit over all data sets.
#include "structfit/fit_drivers.h"

#include <cmath>
#include <fstream>
#include <optional>
#include <utility>

#include "structfit/cubic_minimum.h"
#include "textio/errors.h"
#include "textio/free_reader.h"
#include "textio/free_writer.h"

namespace structfit {
namespace {

// The middle model point m = (NPTS + 1) / 2 (1-based): the unshifted structure.
std::int32_t middle_point(const FitSetup& setup) {
  return (setup.point_count + 1) / 2;
}

// The table rfactor.dat holds: NPTS records of NPAR values, as one curve per parameter.
// Nothing when the file is missing or a value does not read (a field an R-factor of 10000 or
// more overflowed), with the reason on the console.
std::optional<std::vector<std::vector<float>>> read_rfactor_table(const std::string& path,
                                                                  const FitSetup& setup,
                                                                  std::ostream& console) {
  const std::size_t parameters = setup.parameters.size();
  std::vector<std::vector<float>> table(
      parameters, std::vector<float>(static_cast<std::size_t>(setup.point_count)));
  std::ifstream file(path);
  try {
    if (!file) throw std::runtime_error(path + ": cannot open");
    textio::FreeReader in(file, path);
    for (std::size_t l = 0; l < table.front().size(); ++l) {
      in.begin();
      for (std::size_t i = 0; i < parameters; ++i) in.read(table[i][l], "R-factor");
    }
  } catch (const std::runtime_error& why) {
    console << ' ' << why.what() << "; bracket test not passed\n";
    return std::nullopt;
  }
  return table;
}

}  // namespace

FitDrivers::FitDrivers(const FitSetup& setup, CurveSource source, std::ostream& console,
                       FitLogFiles files)
    : setup_(setup), source_(std::move(source)), console_(console), files_(std::move(files)) {}

void FitDrivers::set_counters(std::int32_t functions, std::int32_t gradients) {
  functions_ = functions;
  gradients_ = gradients;
}

std::vector<float> FitDrivers::combined_curve(const std::vector<float>& x,
                                              std::int32_t index) const {
  std::vector<float> weighted(static_cast<std::size_t>(setup_.point_count), 0.0f);
  float weights = 0.0f;
  for (std::size_t e = 0; e < setup_.data_sets.size(); ++e) {
    const DataSetCurve curve = source_(e, x, index);
    const auto w = static_cast<float>(curve.weight);
    weights += w;
    for (std::size_t l = 0; l < weighted.size(); ++l) weighted[l] += w * curve.r.at(l);
  }
  for (float& r : weighted) r /= weights;
  return weighted;
}

int FitDrivers::function_evaluation(const std::vector<float>& x, float& f) {
  ++functions_;
  for (std::size_t i = 0; i < setup_.parameters.size(); ++i) console_ << '\n';
  const std::vector<float> curve = combined_curve(x, 1);
  f = curve[static_cast<std::size_t>(middle_point(setup_) - 1)];
  write_log(files_.curve, rfactor_curve_text(curve), false);
  const std::string entry = function_evaluation_lines(functions_, f) + parameter_lines(setup_, x);
  write_log(files_.status, entry, true);
  console_ << entry;
  return 0;
}

ParameterSlope FitDrivers::slope(const std::vector<float>& r, float value, float step) const {
  const std::int32_t m = middle_point(setup_);
  const auto at = [&](std::int32_t l) { return r[static_cast<std::size_t>(l - 1)]; };
  ParameterSlope p;
  p.value = value;
  p.gradient = (8.0f * at(m + 1) - 8.0f * at(m - 1) - at(m + 2) + at(m - 2)) / (12.0f * step);
  p.second = (at(m - 1) - 2.0f * at(m) + at(m + 1)) / (step * step);
  const CurveMinimum minimum = curve_minimum(r);
  p.offset = (minimum.x - static_cast<float>(m)) * step;
  p.error = minimum.error * step;
  return p;
}

int FitDrivers::gradient_evaluation(const std::vector<float>& x, std::vector<float>& g,
                                    std::vector<float>& h) {
  ++gradients_;
  std::vector<std::vector<float>> table;
  slopes_.clear();
  for (std::size_t i = 0; i < setup_.parameters.size(); ++i) {
    const std::vector<float> curve = combined_curve(x, static_cast<std::int32_t>(i + 1));
    table.push_back(curve);
    slopes_.push_back(slope(curve, x[i], setup_.parameters[i].step));
    g[i] = slopes_.back().gradient;
    h[i] = slopes_.back().second;
    console_ << (textio::FreeLine{} << "der 2der " << g[i] << h[i]).str();
    write_log(files_.curve, rfactor_curve_text(curve), false);
  }
  write_log(files_.table, rfactor_table_text(table), false);
  write_log(files_.status, gradient_evaluation_lines(setup_, gradients_, slopes_, false), true);
  console_ << gradient_evaluation_lines(setup_, gradients_, slopes_, true);
  return 0;
}

bool FitDrivers::bracket_test() const {
  const auto table = read_rfactor_table(files_.table, setup_, console_);
  if (!table) return false;
  const auto middle = static_cast<float>(middle_point(setup_));
  for (const std::vector<float>& curve : *table) {
    if (!(std::fabs(curve_minimum(curve).x - middle) < 1.0f)) return false;
  }
  return true;
}

DominCallbacks FitDrivers::callbacks() {
  DominCallbacks cb;
  cb.objective = [this](const std::vector<float>& x, float& f) {
    return function_evaluation(x, f);
  };
  cb.gradient = [this](const std::vector<float>& x, std::vector<float>& g, std::vector<float>& h) {
    return gradient_evaluation(x, g, h);
  };
  cb.converged = [this] { return bracket_test(); };
  return cb;
}

}  // namespace structfit
