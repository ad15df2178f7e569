// Per-file signals with clipping of implausible yields.
#include "polysim/result_signals.h"

#include <stdexcept>
#include <string>

namespace polysim {

namespace {

void require_within(std::int32_t value, std::int32_t count, const char* what, std::int32_t a) {
  if (value < 1 || value > count)
    throw std::out_of_range("atom " + std::to_string(a) + ": " + what + " " +
                            std::to_string(value) + " outside 1.." + std::to_string(count));
}

}  // namespace

ResultSignals compute_result_signals(const engine::Crystal& crystal, float atoms_per_layer,
                                     const RunResults& results, std::int32_t s, std::int32_t v) {
  ResultSignals signals;
  signals.layer_count = crystal.layer_count;
  signals.type_count = static_cast<std::int32_t>(crystal.types.size());
  const auto angles = static_cast<std::size_t>(results.angle_count());
  signals.total.assign(angles, 0.0f);
  signals.layer.assign(angles * static_cast<std::size_t>(signals.layer_count), 0.0f);
  signals.element.assign(angles * static_cast<std::size_t>(signals.type_count), 0.0f);
  for (std::int32_t j = 1; j <= results.angle_count(); ++j) {
    const std::size_t row = static_cast<std::size_t>(j - 1);
    for (std::int32_t a = 1; a <= results.atom_count(); ++a) {
      const engine::Atom& atom = crystal.atoms.at(static_cast<std::size_t>(a - 1));
      require_within(atom.layer, signals.layer_count, "layer", a);
      require_within(atom.type, signals.type_count, "type", a);
      float stored = results.block_yield(v, s, a, j);
      if (stored > kLargestYield) {
        stored = kLargestYield;
        ++signals.bad_count;
      }
      signals.total[row] += stored;
      signals.layer[row * signals.layer_count + (atom.layer - 1)] += stored;
      signals.element[row * signals.type_count + (atom.type - 1)] += stored;
    }
  }
  for (float& value : signals.total) value /= atoms_per_layer;
  for (float& value : signals.layer) value /= atoms_per_layer;
  for (float& value : signals.element) value /= atoms_per_layer;
  return signals;
}

RunResults clipped_yields(RunResults results) {
  for (std::int32_t j = 1; j <= results.angle_count(); ++j)
    for (std::int32_t a = 1; a <= results.atom_count(); ++a)
      for (std::int32_t s = 1; s <= results.structure_count(); ++s)
        for (std::int32_t v = 1; v <= results.vibration_count(); ++v) {
          float& stored = results.block_yield(v, s, a, j);
          if (stored > kLargestYield) stored = kLargestYield;
        }
  return results;
}

}  // namespace polysim
