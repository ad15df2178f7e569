// The consistency checks made before an ion run: every index the tracking will follow
// (atom types, cells, cell_atom entries, model atoms, ring rows, tally slots) must lie in its
// table, so that the inner loops need no checks of their own.
#include <string>

#include "engine/errors.h"
#include "engine/launch_ions.h"

namespace engine {

namespace {

void require_run_data(bool condition, const std::string& what) {
  if (!condition) throw ModelDataError("Ion run: " + what);
}

std::size_t product(std::int32_t a, std::int32_t b) {
  return static_cast<std::size_t>(a) * static_cast<std::size_t>(b);
}

void check_grid(const Crystal& crystal) {
  const std::int32_t nx = crystal.cell_count_x, ny = crystal.cell_count_y;
  const std::int32_t nz = crystal.layer_count;
  require_run_data(nx >= 1 && ny >= 1 && nz >= 1, "cell counts must be at least 1");
  require_run_data(crystal.x_edges.size() == static_cast<std::size_t>(nx) + 1 &&
                       crystal.y_edges.size() == static_cast<std::size_t>(ny) + 1 &&
                       crystal.z_edges.size() == static_cast<std::size_t>(nz) + 1,
                   "edge lists must hold one edge more than their cells");
  require_run_data(crystal.cell_atom.size() == product(nx, ny) * static_cast<std::size_t>(nz),
                   "cell map not sized for the cells");
  const auto atoms = static_cast<std::int32_t>(crystal.atoms.size());
  for (const std::int32_t a : crystal.cell_atom)
    require_run_data(a >= 0 && a <= atoms, "cell map names atom " + std::to_string(a));
}

void check_atoms(const Crystal& crystal, const ModelSet& models) {
  const auto types = static_cast<std::int32_t>(crystal.types.size());
  for (std::int32_t a = 1; a <= static_cast<std::int32_t>(crystal.atoms.size()); ++a) {
    const Atom& atom = crystal.atoms[static_cast<std::size_t>(a - 1)];
    const std::string name = "atom " + std::to_string(a);
    require_run_data(atom.type >= 1 && atom.type <= types, name + " has no valid type");
    require_run_data(atom.cell_i >= 1 && atom.cell_i <= crystal.cell_count_x && atom.cell_j >= 1 &&
                         atom.cell_j <= crystal.cell_count_y && atom.layer >= 1 &&
                         atom.layer <= crystal.layer_count,
                     name + " lies outside the cell grid");
    require_run_data(atom.change_class >= 1 && atom.change_class <= 6,
                     name + " has no change class");
    require_run_data(atom.change_class == 1 || a <= models.vibrated_atom_count,
                     name + " changes between models but has no vibration models");
    require_run_data(atom.change_class <= 2 || a <= models.displaced_atom_count,
                     name + " shifts between models but has no shifts");
  }
}

void check_models(const Crystal& crystal, const ModelSet& models) {
  const auto atoms = static_cast<std::int32_t>(crystal.atoms.size());
  require_run_data(models.structure_count >= 1 && models.vibration_count >= 1,
                   "at least one structure and one vibration model are needed");
  require_run_data(models.displaced_atom_count >= 0 && models.displaced_atom_count <= atoms &&
                       models.vibrated_atom_count >= 0 && models.vibrated_atom_count <= atoms,
                   "model atom counts outside the crystal");
  require_run_data(
      models.structure_shift.size() == product(models.structure_count, models.displaced_atom_count),
      "structure shifts not sized for the model counts");
  const std::size_t vibrations = product(models.vibration_count, models.vibrated_atom_count);
  require_run_data(models.vibration_gauss_coeff.size() == vibrations &&
                       models.vibration_ratio.size() == vibrations,
                   "vibration coefficients not derived for the model counts");
}

// Only atoms that change between models read the ring tables.
bool needs_rings(const Crystal& crystal) {
  for (const Atom& atom : crystal.atoms)
    if (atom.change_class != 1) return true;
  return false;
}

void check_tables(const Crystal& crystal, const ModelSet& models, const RunTables& tables,
                  const IonRunParameters& run) {
  const std::size_t types = crystal.types.size();
  require_run_data(!crystal.types.empty(), "no atom types");
  require_run_data(static_cast<std::size_t>(tables.deflection.type_count()) == types,
                   "deflection table not built for the atom types");
  require_run_data(
      run.type_angle_cutoff.size() == types && tables.type_reach_weight.size() == types,
      "per-type cut-offs not set for the atom types");
  if (!needs_rings(crystal)) return;
  const RingTables& rings = tables.rings;
  const std::size_t slots = product(rings.atom_count, RingTables::kRowLength);
  require_run_data(
      rings.atom_count == models.vibrated_atom_count &&
          rings.vibration_count == models.vibration_count &&
          rings.reference_inverse.size() == slots &&
          rings.model_miss.size() == slots * static_cast<std::size_t>(rings.vibration_count) &&
          rings.last_ring.size() == static_cast<std::size_t>(rings.atom_count),
      "ring tables not built for the model counts");
}

}  // namespace

void check_run_data(const Crystal& crystal, const ModelSet& models, const RunTables& tables,
                    const IonRunParameters& run, const HitTally& tally) {
  check_grid(crystal);
  check_models(crystal, models);
  check_atoms(crystal, models);
  check_tables(crystal, models, tables, run);
  require_run_data(
      tally.vibration_count == models.vibration_count &&
          tally.structure_count == models.structure_count &&
          tally.atom_count == static_cast<std::int32_t>(crystal.atoms.size()) &&
          tally.hit_sum.size() ==
              product(tally.vibration_count, tally.structure_count) * crystal.atoms.size(),
      "hit sums not sized for the models and atoms");
  require_run_data(
      !run.overlayer() || (run.overlayer_type >= 1 &&
                           run.overlayer_type <= static_cast<std::int32_t>(crystal.types.size())),
      "overlayer type " + std::to_string(run.overlayer_type) + " is not an atom type");
}

}  // namespace engine
