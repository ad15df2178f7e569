// Writing all result files of a run: one per model pair, in the order of their numbers, with
// the fall-back to "dump.out" in the working directory for a file that cannot be created.
#pragma once

#include <cstdint>
#include <string>

#include "polysim/run_results.h"
#include "polysim/simulation_input.h"
#include "polysim/status_file.h"

namespace polysim {

// What the result files need besides the input and the results.
struct ResultSetup {
  std::string input_path;   // 80 columns; printed in every file
  std::string output_root;  // 80 columns; the files are named from it
  int name_column = 1;      // column p at which the status file name cut the root
  float deg_to_rad = 0.0f;  // radians per degree of the run's fixed tables
  std::int64_t seed = 0;    // the run seed, printed after the comment
};

// Refuses results that are not finite with the abort block (JobAborted), before any file.
// Writes the status line "  Writing output files: " (with the root), then the N10 * N11
// result files, structure models outermost, from a copy of `results` with the blocked yields
// above 9.999 clipped. A file that cannot be created is replaced by a new "dump.out", reported by
// two lines to the status file and the console. Throws FileError when "dump.out" is needed
// but exists already (from an earlier pair of this run or from elsewhere), or when it or a
// result file cannot be created or written; the message names both files.
void write_result_files(const SimulationInput& input, const RunResults& results, StatusFile& status,
                        const ResultSetup& setup);

}  // namespace polysim
