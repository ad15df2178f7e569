// The last guard before the result files: a NaN or an infinity, from whatever input or
// arithmetic, stops the run instead of reaching a file of a run reported as finished.
#pragma once

#include "polysim/run_results.h"

namespace polysim {

// Throws InvalidInput naming the first hitting probability or blocked yield (atom, model
// pair, angle), or the overlayer deflection sum, that is not finite.
void check_results_finite(const RunResults& results);

}  // namespace polysim
