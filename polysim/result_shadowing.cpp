// The shadowing table at the end of a result file: per layer, every occupied cell's atom with
// its position and rms amplitude in the model pair and its hitting probability, then the
// layer's probability in monolayers and the sum over the layers.
#include <cmath>

#include "polysim/report_formats.h"
#include "polysim/result_file.h"
#include "textio/format_writer.h"

namespace polysim {

namespace {

using textio::Format;

constexpr float kGaussScale = 125.0f;  // scale of a Gaussian coefficient 125 / (2 sigma^2)

const Format& layer_rule() {
  static const Format format(
      "(' -------------------------------------------------','-------------')");
  return format;
}
const Format& layer_sum() {
  static const Format format(
      "(' -------------------------------------------------',/,' Hitting probability of layer "
      "',I3,'  = ',F7.3,/,' ')");
  return format;
}
const Format& summed_layers() {
  static const Format format(
      "(' -------------------------------------------------','-------------',/,' Summed hitting "
      "probability(',I3,' layers)  = ',F7.3)");
  return format;
}

struct Position {
  float x, y, z;  // Å
};

// Position of atom a in structure model s: input position plus the model's shift.
Position position(const SimulationInput& input, std::int32_t s, std::int32_t a) {
  const engine::Atom& atom = input.crystal.atoms.at(static_cast<std::size_t>(a - 1));
  if (a > input.models.displaced_atom_count) return {atom.x, atom.y, atom.z};
  const engine::Shift& shift = input.models.structure_shift.at(input.models.shift_index(s, a));
  return {atom.x + shift.dx, atom.y + shift.dy, atom.z + shift.dz};
}

// Rms amplitude of atom a in vibration model v, Å, recovered from the model's Gaussian
// coefficient for the atoms that the vibration models set.
float amplitude(const SimulationInput& input, std::int32_t v, std::int32_t a) {
  if (a > input.models.vibrated_atom_count)
    return input.crystal.atoms.at(static_cast<std::size_t>(a - 1)).sigma;
  const float coeff = input.models.vibration_gauss_coeff.at(input.models.vibration_index(v, a));
  return std::sqrt(kGaussScale / (2.0f * coeff));
}

// The atom lines of layer L, cells along x outermost; returns the layer's summed hitting
// probability.
float write_layer_atoms(std::ostream& out, const ResultFileContext& file, std::int32_t L) {
  const engine::Crystal& crystal = file.input.crystal;
  float sum = 0.0f;
  for (std::int32_t i = 1; i <= crystal.cell_count_x; ++i) {
    for (std::int32_t j = 1; j <= crystal.cell_count_y; ++j) {
      const std::int32_t a = crystal.cell_atom.at(crystal.cell_index(i, j, L));
      if (a == 0) continue;
      const Position at = position(file.input, file.structure_model, a);
      const float sigma = amplitude(file.input, file.vibration_model, a);
      const float probability =
          file.results.hit_probability(file.vibration_model, file.structure_model, a);
      const std::int32_t type = crystal.atoms.at(static_cast<std::size_t>(a - 1)).type;
      out << atom_line().write({a, type, at.x, at.y, at.z, sigma, sigma, sigma, probability});
      sum += probability;
    }
  }
  return sum;
}

}  // namespace

void write_shadowing_table(std::ostream& out, const ResultFileContext& file) {
  const float atoms_per_layer = file.input.beam.atoms_per_layer;
  out << shadowing_heading().write();
  float total = 0.0f;
  for (std::int32_t L = 1; L <= file.input.crystal.layer_count; ++L) {
    out << layer_rule().write();
    const float layer = write_layer_atoms(out, file, L) / atoms_per_layer;
    out << layer_sum().write({L, layer});
    total += layer;
  }
  out << summed_layers().write({file.input.crystal.layer_count, total});
}

}  // namespace polysim
