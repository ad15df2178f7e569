// monosim's result file: the blocked yield per detection angle per atom, per layer and per
// element, then the report of the run and the shadowing hitting probabilities, every line
// under a fixed format text.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

#include "monosim/prepared_mono.h"
#include "monosim/simulate.h"

namespace monosim {

struct ResultContext {
  const PreparedMono& prepared;
  const MonoResults& results;
  std::string_view input_path;   // printed in 80 columns
  std::string_view output_path;  // printed in 80 columns
  float deg_to_rad = 0.0f;
  std::int64_t seed = 0;  // the run seed, printed after the comment
};

// The per-angle sums of the yields (atom order, 32-bit), in monolayers.
struct YieldSums {
  std::vector<float> total;    // angle j at j - 1
  std::vector<float> layer;    // (l, j) at (j - 1) N5 + l - 1
  std::vector<float> element;  // (t, j) at (j - 1) N2 + t - 1
};
YieldSums sum_yields(const engine::Crystal& crystal, float atoms_per_layer,
                     const MonoResults& results);

// The three yield tables (rows of 100 values a line).
void write_yield_tables(std::ostream& out, const ResultContext& file);
// Blocking flux, flags, counts, general information with the seed, beam, potential, target,
// cell and correlation.
void write_run_report(std::ostream& out, const ResultContext& file);
// Per layer every occupied cell's atom with its position, amplitudes and hitting
// probability, the layer's sum in monolayers and the sum over layers.
void write_shadowing_table(std::ostream& out, const ResultContext& file);

inline void write_result_file(std::ostream& out, const ResultContext& file) {
  write_yield_tables(out, file);
  write_run_report(out, file);
  write_shadowing_table(out, file);
}

}  // namespace monosim
