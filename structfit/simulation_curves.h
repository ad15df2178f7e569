// The R-factor curve of one data set from the simulation: the input "inmulti.in" prepared for
// the parameter vector, the embedded run writing out<e>.nnnn, and each model point's result
// compared with the measured curve (skew files skew<e>.nnnn).
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "engine/fixed_tables.h"
#include "polysim/simulate.h"
#include "structfit/fit_drivers.h"
#include "structfit/fit_setup.h"
#include "structfit/rfactor_curve.h"

namespace structfit {

class SimulationCurves {
 public:
  // Reads the measured curves once; every run of the fit uses `seed`, so a parameter vector
  // always meets the same ion trajectories and the R-factor is a smooth function of it. The
  // simulations are made by `simulator`, which must outlive this object and its copies.
  SimulationCurves(const FitSetup& setup, std::int64_t seed, std::ostream& console,
                   polysim::Simulator& simulator);

  // Throws SetupRefused naming the file for an input the simulation or the R-factor refuses,
  // a result file that is missing, or a file that cannot be written.
  DataSetCurve operator()(std::size_t set, const std::vector<float>& values,
                          std::int32_t index) const;

 private:
  float point_r_factor(std::size_t set, std::int32_t point) const;

  const FitSetup& setup_;
  std::int64_t seed_;
  std::ostream& console_;
  polysim::Simulator& simulator_;
  engine::FixedTables tables_;
  std::vector<Curve> measured_;
};

}  // namespace structfit
