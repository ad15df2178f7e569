// The signals of one result file: the blocked yield of a model pair summed per detection
// angle over all atoms, per layer and per atom type, in monolayers, after clipping.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/model.h"
#include "polysim/run_results.h"

namespace polysim {

// Yields above this are taken as failed statistics: clipped to it and counted.
inline constexpr float kLargestYield = 9.999f;

struct ResultSignals {
  std::int32_t layer_count = 0;  // N5
  std::int32_t type_count = 0;   // N2
  std::vector<float> total;      // angle j at j - 1
  std::vector<float> layer;      // (L, j) at (j - 1) * N5 + L - 1
  std::vector<float> element;    // (t, j) at (j - 1) * N2 + t - 1
  std::int32_t bad_count = 0;    // yields clipped in this file

  float total_at(std::int32_t j) const { return total.at(static_cast<std::size_t>(j - 1)); }
  float layer_at(std::int32_t L, std::int32_t j) const {
    return layer.at(static_cast<std::size_t>(j - 1) * layer_count + (L - 1));
  }
  float element_at(std::int32_t t, std::int32_t j) const {
    return element.at(static_cast<std::size_t>(j - 1) * type_count + (t - 1));
  }
};

// Sums the blocked yields of structure model s and vibration model v atom by atom (in atom
// order, 32-bit) and divides the sums by `atoms_per_layer`. A yield above kLargestYield is
// summed as kLargestYield and raises bad_count. Throws std::out_of_range when an atom's
// layer or type lies outside the crystal's counts.
ResultSignals compute_result_signals(const engine::Crystal& crystal, float atoms_per_layer,
                                     const RunResults& results, std::int32_t s, std::int32_t v);

// The results as the files print them: every blocked yield above kLargestYield replaced by it.
RunResults clipped_yields(RunResults results);

}  // namespace polysim
