// The quasi-Newton (damped BFGS) minimizer with safeguarded step-size search, automatic
// restarts of the quasi-Newton matrix and several stopping rules, in 32-bit reals.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "structfit/domin_state.h"

namespace structfit {

// objective(x, f) returns the error flag (0 on success).
using DominObjective = std::function<int(const std::vector<float>& x, float& f)>;
// gradient(x, g, h) fills the gradient and the second derivatives along the axes; returns the
// error flag (0 on success).
using DominGradient =
    std::function<int(const std::vector<float>& x, std::vector<float>& g, std::vector<float>& h)>;
// The extra convergence test: true means converged.
using DominConverged = std::function<bool()>;

struct DominCallbacks {
  DominObjective objective;
  DominGradient gradient;
  DominConverged converged;
};

struct DominOptions {
  float tolerance = 0.0F;       // relative tolerance of the three convergence measures
  bool scale_variables = true;  // scale by 1/√|second derivative| at every (re)start
  bool resume = false;          // continue from the restart dump instead of x
  std::string step_log = "domin.res";
  std::string restart_file = "fort.69";
};

// Minimizes from `x` (overwritten by the result); progress and the report go to `console`.
// The restart dump is rewritten at the head of every pass; with `resume` the run continues
// from it (x then only gives the number of variables).
// Returns the final state (termination reason, counters, protocol table).
MinimizerState domin(std::vector<float>& x, const DominCallbacks& callbacks,
                     const DominOptions& options, std::ostream& console);

}  // namespace structfit
