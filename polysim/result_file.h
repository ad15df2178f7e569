// The text of one result file, for one model pair: the blocked-yield tables, the report of
// the input, and the shadowing table. Every line is written under a fixed format text.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

#include "polysim/result_signals.h"
#include "polysim/run_results.h"
#include "polysim/simulation_input.h"

namespace polysim {

// Everything one result file prints.
struct ResultFileContext {
  const SimulationInput& input;  // prepared: angles in radians, Gaussian coefficients set
  const RunResults& results;     // block yields already clipped
  const ResultSignals& signals;  // of this pair
  std::int32_t structure_model = 1;
  std::int32_t vibration_model = 1;
  std::string_view input_path;  // printed in 80 columns
  std::string_view full_name;   // of this file, printed in 80 columns
  float deg_to_rad = 0.0f;      // radians per degree
  std::int64_t seed = 0;        // the run seed, with which the file can be made again
};

// Blocked yield per angle: totals with element and layer signals, then per atom (every atom,
// in lines of 20 beyond the first 100), then the count of clipped yields.
void write_blocking_tables(std::ostream& out, const ResultFileContext& file);

// Blocking flux, file names, comment and run seed, the model parameters of the pair, beam, atom
// types, cell and overlayer.
void write_run_report(std::ostream& out, const ResultFileContext& file);

// Hitting probability of every atom, layer by layer, with its position and amplitude in the
// pair's models, the layer sums and their total.
void write_shadowing_table(std::ostream& out, const ResultFileContext& file);

// The whole file: the three parts above in order.
inline void write_result_file(std::ostream& out, const ResultFileContext& file) {
  write_blocking_tables(out, file);
  write_run_report(out, file);
  write_shadowing_table(out, file);
}

}  // namespace polysim
