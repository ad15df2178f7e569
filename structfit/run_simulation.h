// The simulation embedded in the fitter: one multi-model run on a simulation input file, its
// progress on the console and one short result file per model.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string_view>

#include "engine/fixed_tables.h"
#include "polysim/simulate.h"

namespace structfit {

// Reads `input_path` through the simulation's own reader (every check of the input applies),
// runs the shadowing and blocking runs with run seed `seed` and the console lines
// "Starting shadowing...." and "Starting blocking angle :" n, and writes for model pair n the
// file <output_root>.nnnn: one line (1X,F7.2,1X,6F7.3) per detection angle, the angle in
// degrees and the signal of each atom type in monolayers, each atom's yield capped at 9.999.
// Writes no status file. Throws SetupRefused, naming the file, for an input the simulation
// refuses, a result that is not finite, or a result file that cannot be written;
// textio::ReadError for a malformed input.
void run_simulation(const std::filesystem::path& input_path, std::string_view output_root,
                    const engine::FixedTables& tables, std::int64_t seed, std::ostream& console);
// The same with the simulation made by `simulator`.
void run_simulation(const std::filesystem::path& input_path, std::string_view output_root,
                    const engine::FixedTables& tables, std::int64_t seed, std::ostream& console,
                    polysim::Simulator& simulator);

// The name of the result file of model pair `n` (1..9999): the root, a point and n in four
// digits.
std::string short_result_path(std::string_view output_root, std::int32_t n);

}  // namespace structfit
