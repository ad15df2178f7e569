// The structfit program as one call, so that the single-process and the MPI mains share it:
// the set-up read, the base files checked, the fit run and its failures turned into messages.
#pragma once

#include <ostream>

#include "polysim/simulate.h"

namespace structfit {

// Reads "bfgsin.dat" in the working directory and runs the fit ("--resume" as the only
// argument continues one), every embedded simulation made by `simulator`. Writes its
// messages and "Stop - Program terminated." to `console`; returns the exit status (0 after a
// finished fit, 1 after a failure).
int run_structfit_program(int argc, const char* const* argv, std::ostream& console,
                          polysim::Simulator& simulator);

}  // namespace structfit
