// The main sequence of a monosim run.
#pragma once

#include <ostream>

#include "monosim/simulate.h"
#include "polysim/run_files.h"

namespace monosim {

inline constexpr const char* kPointerFile = "monosim1.io";
inline constexpr const char* kStatusFile = "out.status";

// The whole run of `files` (monosim1.io's input file and result file) in the working
// directory, its simulation made by `simulator`: status file "out.status", console lines to
// `console`, the result file. Throws
// RunStopped after its one message line ("Wrong program", or a value, count or geometry
// refused), polysim::FileError for a file that cannot be opened, created or written,
// textio::ReadError for a malformed or short input, engine::SeedError for an IONBEAM_SEED that
// is not a seed.
void run_monosim(const polysim::RunFiles& files, std::ostream& console, MonoSimulator& simulator);

// The program: reads the pointer file "monosim1.io" in the working directory and makes the run
// with `simulator`; returns the exit status (0 after a finished run, 1 after a failure, whose
// message is written: a stopped run's line by the run, any other error on standard error).
int run_monosim_program(std::ostream& console, MonoSimulator& simulator);

}  // namespace monosim
