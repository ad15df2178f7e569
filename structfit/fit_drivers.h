// The three routines the minimizer calls back during a fit: the objective (the R-factor of the
// unshifted structure), the gradient with second derivatives from each parameter's R-factor
// curve, and the test that every curve minimum lies within one step of the current value.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "structfit/domin.h"
#include "structfit/fit_logs.h"
#include "structfit/fit_setup.h"

namespace structfit {

// The R-factor curve of one data set: its weight W (the number of detection angles) and
// R(l) for the model points l = 1..NPTS.
struct DataSetCurve {
  std::int32_t weight = 0;
  std::vector<float> r;
};

// The curve of data set `set` (0-based) for the parameter vector `values` with the model
// points stepping parameter `index` (1-based).
using CurveSource = std::function<DataSetCurve(std::size_t set, const std::vector<float>& values,
                                               std::int32_t index)>;

struct FitLogFiles {
  std::string status = "status.dat";
  std::string table = "rfactor.dat";   // R-factor curves of the last gradient evaluation
  std::string curve = "rfactor2.dat";  // the last combined curve
};

class FitDrivers {
 public:
  FitDrivers(const FitSetup& setup, CurveSource source, std::ostream& console,
             FitLogFiles files = {});

  // Evaluation counts so far; a resumed fit continues from those of its restart dump.
  void set_counters(std::int32_t functions, std::int32_t gradients);

  // The objective: the combined R-factor at the middle model point of parameter 1's curve.
  int function_evaluation(const std::vector<float>& x, float& f);
  // Five-point gradient G and second difference D2 of each parameter's combined curve; also
  // the curve minimum's offset DX and error ERR. Writes rfactor.dat and rfactor2.dat.
  int gradient_evaluation(const std::vector<float>& x, std::vector<float>& g,
                          std::vector<float>& h);
  // True when the fitted cubic of every column of rfactor.dat has its minimum less than one
  // model point from the middle. A table that is missing or does not read is not bracketed.
  bool bracket_test() const;

  const std::vector<ParameterSlope>& slopes() const { return slopes_; }
  DominCallbacks callbacks();

 private:
  std::vector<float> combined_curve(const std::vector<float>& x, std::int32_t index) const;
  ParameterSlope slope(const std::vector<float>& curve, float value, float step) const;

  const FitSetup& setup_;
  CurveSource source_;
  std::ostream& console_;
  FitLogFiles files_;
  std::int32_t functions_ = 0;
  std::int32_t gradients_ = 0;
  std::vector<ParameterSlope> slopes_;
};

}  // namespace structfit
