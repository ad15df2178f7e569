// The derivation steps of the model data, in the order the run relies on: the change class
// of an atom depends on the order of the structure models, and the cell map keeps the last
// atom named for a cell.
#include "polysim/prepare_models.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "polysim/input_checks.h"
#include "polysim/input_values.h"

namespace polysim {

namespace {

constexpr float kGaussScale = 125.0f;    // scale of the exp table: exp(-y) reads E(-NINT(125 y))
constexpr float kReachExponent = 10.4f;  // beyond the reach every Gaussian is below e^-10.4

std::string atom_label(std::int32_t a) {
  return "Atom " + std::to_string(a);
}

void check_sizes(const engine::Crystal& crystal, const engine::ModelSet& models,
                 const engine::Beam& beam) {
  const auto cells = static_cast<std::size_t>(std::max(crystal.cell_count_x, 0)) *
                     static_cast<std::size_t>(std::max(crystal.cell_count_y, 0)) *
                     static_cast<std::size_t>(std::max(crystal.layer_count, 0));
  const auto atoms = static_cast<std::int64_t>(crystal.atoms.size());
  const bool consistent =
      crystal.cell_atom.size() == cells && !crystal.x_edges.empty() && !crystal.y_edges.empty() &&
      !beam.detection_angles.empty() && models.structure_count >= 0 &&
      models.vibration_count >= 0 && models.displaced_atom_count >= 0 &&
      models.vibrated_atom_count >= 0 && models.displaced_atom_count <= atoms &&
      models.vibrated_atom_count <= atoms &&
      models.structure_shift.size() == static_cast<std::size_t>(models.structure_count) *
                                           static_cast<std::size_t>(models.displaced_atom_count) &&
      models.vibration_sigma.size() == static_cast<std::size_t>(models.vibration_count) *
                                           static_cast<std::size_t>(models.vibrated_atom_count);
  if (!consistent) throw InvalidInput("Model data: tables not sized from the dimension record");
}

void check_atom_cells(const engine::Crystal& crystal) {
  for (std::size_t k = 0; k < crystal.atoms.size(); ++k) {
    const engine::Atom& atom = crystal.atoms[k];
    if (atom.cell_i < 1 || atom.cell_i > crystal.cell_count_x || atom.cell_j < 1 ||
        atom.cell_j > crystal.cell_count_y || atom.layer < 1 || atom.layer > crystal.layer_count)
      throw InvalidInput(atom_label(static_cast<std::int32_t>(k + 1)) + ": cell (" +
                         std::to_string(atom.cell_i) + ", " + std::to_string(atom.cell_j) + ", " +
                         std::to_string(atom.layer) + ") lies outside the cell grid");
  }
}

void check_amplitudes(const engine::Crystal& crystal, const engine::ModelSet& models) {
  for (std::size_t k = 0; k < crystal.atoms.size(); ++k)
    check_amplitude(crystal.atoms[k].sigma,
                    atom_label(static_cast<std::int32_t>(k + 1)) + ": atom_sigma");
  for (std::int32_t v = 1; v <= models.vibration_count; ++v)
    for (std::int32_t a = 1; a <= models.vibrated_atom_count; ++a)
      check_amplitude(models.sigma(v, a), "Vibration model " + std::to_string(v) + ", atom " +
                                              std::to_string(a) + ": vibration_sigma");
}

engine::Atom& atom(engine::Crystal& crystal, std::int32_t a) {
  return crystal.atoms[static_cast<std::size_t>(a - 1)];
}

void widen_depth_range(engine::Crystal& crystal, float z) {
  crystal.z_min = std::min(crystal.z_min, z);
  crystal.z_max = std::max(crystal.z_max, z);
}

// Depth range over the structure models, and classes 3 (depth shift) and 5 (sideways shift)
// in model order: the last model that shifts an atom decides between 3 and 5.
void classify_shifts(engine::Crystal& crystal, const engine::ModelSet& models) {
  for (engine::Atom& each : crystal.atoms) each.change_class = 1;
  crystal.z_min = 0.0f;
  crystal.z_max = 0.0f;
  for (std::int32_t s = 1; s <= models.structure_count; ++s) {
    for (std::int32_t a = 1; a <= models.displaced_atom_count; ++a) {
      const engine::Shift& shift = models.shift(s, a);
      engine::Atom& moved = atom(crystal, a);
      widen_depth_range(crystal, moved.z + shift.dz);
      if (shift.dz != 0.0f) moved.change_class = 3;
      if (shift.dx != 0.0f || shift.dy != 0.0f) moved.change_class = 5;
    }
  }
}

// One more (2, 4, 6) for an atom whose amplitude differs from that of vibration model 1.
void classify_amplitudes(engine::Crystal& crystal, const engine::ModelSet& models) {
  for (std::int32_t v = 1; v <= models.vibration_count; ++v) {
    for (std::int32_t a = 1; a <= models.vibrated_atom_count; ++a) {
      std::int32_t& change_class = atom(crystal, a).change_class;
      if (models.sigma(v, a) != models.sigma(1, a) && change_class % 2 == 1) ++change_class;
    }
  }
}

void map_atoms(engine::Crystal& crystal) {
  for (std::int32_t a = 1; a <= static_cast<std::int32_t>(crystal.atoms.size()); ++a) {
    engine::Atom& placed = atom(crystal, a);
    widen_depth_range(crystal, placed.z);
    crystal.cell(placed.cell_i, placed.cell_j, placed.layer) = a;
    placed.gauss_coeff = gauss_coefficient(placed.sigma);
  }
}

void derive_vibration_coefficients(const engine::Crystal& crystal, engine::ModelSet& models) {
  models.vibration_gauss_coeff.assign(models.vibration_sigma.size(), 0.0f);
  models.vibration_ratio.assign(models.vibration_sigma.size(), 0.0f);
  for (std::int32_t v = 1; v <= models.vibration_count; ++v) {
    for (std::int32_t a = 1; a <= models.vibrated_atom_count; ++a) {
      const std::size_t k = models.vibration_index(v, a);
      models.vibration_gauss_coeff[k] = gauss_coefficient(models.vibration_sigma[k]);
      models.vibration_ratio[k] = models.vibration_gauss_coeff[k] /
                                  crystal.atoms[static_cast<std::size_t>(a - 1)].gauss_coeff;
    }
  }
}

// Largest squared shift of atom a over the structure models (0 for an atom that never moves).
float largest_shift2(const engine::ModelSet& models, std::int32_t a) {
  float shift2 = 0.0f;
  if (a > models.displaced_atom_count) return shift2;
  for (std::int32_t s = 1; s <= models.structure_count; ++s) {
    const engine::Shift& d = models.shift(s, a);
    shift2 = std::max(shift2, d.dx * d.dx + d.dy * d.dy + d.dz * d.dz);
  }
  return shift2;
}

// Largest 1 / A of atom a over the vibration models (its own coefficient without models).
float largest_spread(const engine::Atom& met, const engine::ModelSet& models, std::int32_t a) {
  if (a > models.vibrated_atom_count) return 1.0f / met.gauss_coeff;
  float spread = 0.0f;
  for (std::int32_t v = 1; v <= models.vibration_count; ++v)
    spread = std::max(spread, 1.0f / models.vibration_gauss_coeff[models.vibration_index(v, a)]);
  return spread;
}

// (largest shift + sqrt(10.4 * 2 sigma_max^2))^2, with 2 sigma^2 = 125 / A.
void derive_reach(engine::Crystal& crystal, const engine::ModelSet& models) {
  for (std::int32_t a = 1; a <= static_cast<std::int32_t>(crystal.atoms.size()); ++a) {
    engine::Atom& met = atom(crystal, a);
    const float two_sigma2 = kGaussScale * largest_spread(met, models, a);
    const float reach =
        std::sqrt(largest_shift2(models, a)) + std::sqrt(kReachExponent * two_sigma2);
    met.reach2 = reach * reach;
  }
}

void convert_angles(engine::Beam& beam, float deg_to_rad) {
  beam.azimuth *= deg_to_rad;
  beam.polar_angle *= deg_to_rad;
  beam.detection_angles.front() *= deg_to_rad;
  beam.angle_step *= deg_to_rad;
  for (std::size_t j = 1; j < beam.detection_angles.size(); ++j)
    beam.detection_angles[j] =
        beam.detection_angles.front() + static_cast<float>(j) * beam.angle_step;
}

}  // namespace

float gauss_coefficient(float sigma) {
  return kGaussScale / (2.0f * sigma * sigma);
}

void derive_model_data(engine::Crystal& crystal, engine::ModelSet& models) {
  std::fill(crystal.cell_atom.begin(), crystal.cell_atom.end(), 0);
  classify_shifts(crystal, models);
  classify_amplitudes(crystal, models);
  map_atoms(crystal);
  derive_vibration_coefficients(crystal, models);
  derive_reach(crystal, models);
  crystal.x_edges.back() = crystal.repeat_x;
  crystal.y_edges.back() = crystal.repeat_y;
}

void prepare_models(engine::Crystal& crystal, engine::ModelSet& models, engine::Beam& beam,
                    const engine::FixedTables& tables) {
  check_sizes(crystal, models, beam);
  check_atom_cells(crystal);
  check_amplitudes(crystal, models);
  derive_model_data(crystal, models);
  convert_angles(beam, tables.deg_to_rad);
}

engine::ModelSet models_for_tracking(const engine::Crystal& crystal,
                                     const engine::ModelSet& models) {
  const std::int32_t own = models.vibrated_atom_count;
  const std::int32_t atoms = std::max(own, models.displaced_atom_count);
  if (atoms == own) return models;
  engine::ModelSet tracked = models;
  tracked.vibrated_atom_count = atoms;
  const auto size = static_cast<std::size_t>(models.vibration_count) * atoms;
  tracked.vibration_sigma.assign(size, 0.0f);
  tracked.vibration_gauss_coeff.assign(size, 0.0f);
  tracked.vibration_ratio.assign(size, 0.0f);
  for (std::int32_t v = 1; v <= models.vibration_count; ++v)
    for (std::int32_t a = 1; a <= atoms; ++a) {
      const std::size_t k = tracked.vibration_index(v, a);
      if (a <= own) {
        const std::size_t from = models.vibration_index(v, a);
        tracked.vibration_sigma[k] = models.vibration_sigma[from];
        tracked.vibration_gauss_coeff[k] = models.vibration_gauss_coeff[from];
        tracked.vibration_ratio[k] = models.vibration_ratio[from];
      } else {
        const engine::Atom& atom = crystal.atoms[static_cast<std::size_t>(a - 1)];
        tracked.vibration_sigma[k] = atom.sigma;
        tracked.vibration_gauss_coeff[k] = atom.gauss_coeff;
        tracked.vibration_ratio[k] = 1.0f;
      }
    }
  return tracked;
}

}  // namespace polysim
