// The minimizer's closing report: termination reason, best value, point, gradient, counters
// and, after a failure or on request, the short protocol of every step.
#pragma once

#include <ostream>

#include "structfit/domin_state.h"

namespace structfit {

void write_report(const MinimizerState& st, std::ostream& out);

}  // namespace structfit
