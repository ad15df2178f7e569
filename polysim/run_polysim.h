// The main sequence of a polysim run.
#pragma once

#include <ostream>

#include "polysim/run_files.h"

namespace polysim {

// Starts the status file, reads and checks the simulation input. Progress goes to the status
// file and to `console`. Throws JobAborted, FileError or textio::ReadError when the run stops
// early; the abort blocks are written by then.
void run_polysim(const RunFiles& files, std::ostream& console);

}  // namespace polysim
