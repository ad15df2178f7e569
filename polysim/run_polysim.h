// The main sequence of a polysim run.
#pragma once

#include <ostream>

#include "polysim/run_files.h"
#include "polysim/simulate.h"

namespace polysim {

// Starts the status file, reads and checks the simulation input. Progress goes to the status
// file and to `console`. Throws JobAborted, FileError or textio::ReadError when the run stops
// early; the abort blocks are written by then.
void run_polysim(const RunFiles& files, std::ostream& console);
// The same with the simulation made by `simulator`.
void run_polysim(const RunFiles& files, std::ostream& console, Simulator& simulator);

// The program: reads the pointer file "polysim1.io" in the working directory and makes the
// run; returns the exit status (0 after a finished run, 1 after a failure, whose message is
// written: the abort block by the run, any other error on standard error). Writes "Stop -
// Program terminated." after a finished or aborted run.
int run_polysim_program(std::ostream& console, Simulator& simulator);

}  // namespace polysim
