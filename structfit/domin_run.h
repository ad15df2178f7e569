// The working context of one minimization: the state record and what is not stored in it.
#pragma once

#include <ostream>
#include <vector>

#include "structfit/domin.h"
#include "structfit/domin_log.h"

namespace structfit {

struct DominRun {
  MinimizerState& st;
  const DominCallbacks& callbacks;
  const DominOptions& options;
  std::ostream& console;
  StepLog& log;
  std::vector<float> scale;  // x_unscaled = scale · x
  std::vector<float> h;      // second derivatives of the last gradient call
  int evaluations_in_step = 0;

  std::vector<float> unscaled(const std::vector<float>& v) const;
};

float dot(const std::vector<float>& u, const std::vector<float>& v);
float norm(const std::vector<float>& v);

// Initialisation of the matrix at x (fresh start or restart); false on a gradient error.
bool initialise(DominRun& run);
// Restart: counted, marked, x unscaled, initialised anew; false on a gradient error.
bool restart(DominRun& run);
// Step-size search along −d from x; true on success (x, f moved, previous values kept).
bool step_search(DominRun& run);
// Damped BFGS update of the Cholesky-factored matrix with the new gradient.
void update_matrix(DominRun& run);
// Solves RᵀR·out = rhs with the factor held in the state.
std::vector<float> solve_factored(const MinimizerState& st, const std::vector<float>& rhs);

}  // namespace structfit
