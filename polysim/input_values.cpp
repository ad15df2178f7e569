// The physical ranges of the simulation input's values. Without them a tiny amplitude
// overflows its Gaussian coefficient, a wild coordinate makes the walk through the slab
// endless, and a dense overlayer makes millions of collisions per ion.
#include "polysim/input_values.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <utility>

#include "engine/overlayer.h"

namespace polysim {

namespace {

std::string text(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

// `value` within low..high (a NaN is outside); `unit` follows both numbers' range.
void require_within(const std::string& what, double value, double low, double high,
                    const std::string& unit = "") {
  if (!(value >= low && value <= high))
    throw InvalidInput(what + " = " + text(value) + unit + ", must be within " + text(low) + ".." +
                       text(high) + unit);
}

void require_above(const std::string& what, double value, double low, const std::string& unit) {
  if (!(value > low) || !std::isfinite(value))
    throw InvalidInput(what + " = " + text(value) + unit + ", must be above " + text(low) + unit);
}

void require_at_least(const std::string& what, double value, double low) {
  if (!(value >= low) || !std::isfinite(value))
    throw InvalidInput(what + " = " + text(value) + ", must be at least " + text(low));
}

void require_finite(const std::string& what, double value) {
  if (!std::isfinite(value)) throw InvalidInput(what + " = " + text(value) + ", must be finite");
}

const std::string kAngstrom = " Angstrom";
const std::string kDegree = " degree";

// Depths lie within +-bound of the surface plane: ten of the larger repeat distances per
// layer, far below any real slab, yet bounding the steps of a walk through it.
float depth_bound(const engine::Crystal& crystal) {
  return kDepthRepeatsPerLayer * static_cast<float>(crystal.layer_count) *
         std::max(crystal.repeat_x, crystal.repeat_y);
}

void check_types(const engine::Crystal& crystal) {
  for (std::size_t t = 0; t < crystal.types.size(); ++t) {
    const std::string which = " of atom type " + std::to_string(t + 1);
    require_at_least("type_z" + which, crystal.types[t].z, 1);
    require_above("type_mass" + which, crystal.types[t].mass, 0.0, " amu");
  }
}

// Cell 1 starts at 0 (its periodic image lies one repeat distance away) and the list rises
// to below the repeat distance that closes it.
void check_lateral_edges(const std::vector<float>& edges, std::int32_t count, float repeat,
                         const std::string& name, const std::string& repeat_name) {
  if (count >= 1 && edges[0] != 0.0f)
    throw InvalidInput(name + "(1) = " + text(edges[0]) + ", must be 0");
  for (std::int32_t k = 1; k < count; ++k) {
    const std::string item = name + "(" + std::to_string(k + 1) + ")";
    if (!(edges[k] > edges[k - 1]))
      throw InvalidInput(item + " = " + text(edges[k]) + ", must be above " + name + "(" +
                         std::to_string(k) + ") = " + text(edges[k - 1]));
    if (!(edges[k] < repeat))
      throw InvalidInput(item + " = " + text(edges[k]) + ", must be below " + repeat_name + " = " +
                         text(repeat));
  }
}

void check_depth_edges(const engine::Crystal& crystal) {
  const float bound = depth_bound(crystal);
  for (std::int32_t k = 0; k < crystal.layer_count; ++k) {
    const std::string item = "z_edges(" + std::to_string(k + 1) + ")";
    require_within(item, crystal.z_edges[k], -bound, bound, kAngstrom);
    if (k > 0 && !(crystal.z_edges[k] > crystal.z_edges[k - 1]))
      throw InvalidInput(item + " = " + text(crystal.z_edges[k]) + ", must be above z_edges(" +
                         std::to_string(k) + ") = " + text(crystal.z_edges[k - 1]));
  }
}

void check_cell(const engine::Crystal& crystal) {
  for (const auto& [name, repeat] :
       {std::pair{"repeat_x", crystal.repeat_x}, std::pair{"repeat_y", crystal.repeat_y}})
    if (!(repeat > 0.0f && repeat <= kLargestRepeat))
      throw InvalidInput(std::string(name) + " = " + text(repeat) + kAngstrom +
                         ", must be above 0 and at most " + text(kLargestRepeat) + kAngstrom);
  check_lateral_edges(crystal.x_edges, crystal.cell_count_x, crystal.repeat_x, "x_edges",
                      "repeat_x");
  check_lateral_edges(crystal.y_edges, crystal.cell_count_y, crystal.repeat_y, "y_edges",
                      "repeat_y");
  check_depth_edges(crystal);
}

void check_atoms(const engine::Crystal& crystal) {
  const float bound = depth_bound(crystal);
  for (std::size_t k = 0; k < crystal.atoms.size(); ++k) {
    const engine::Atom& atom = crystal.atoms[k];
    const std::string name = "Atom " + std::to_string(k + 1) + ": ";
    require_within(name + "atom_x", atom.x, 0.0, crystal.repeat_x, kAngstrom);
    require_within(name + "atom_y", atom.y, 0.0, crystal.repeat_y, kAngstrom);
    require_within(name + "atom_z", atom.z, -bound, bound, kAngstrom);
    check_amplitude(atom.sigma, name + "atom_sigma");
  }
}

// Every detection angle first + (j - 1) step lies between those of the first and the last.
void check_detection_angles(const engine::Beam& beam, std::int32_t count) {
  const double first = beam.detection_angles.front();
  require_finite("angle_step", beam.angle_step);
  for (const std::int32_t j : {1, count}) {
    const double angle = first + static_cast<double>(j - 1) * beam.angle_step;
    require_within("Detection angle " + std::to_string(j), angle, 0.0, 180.0, kDegree);
  }
}

void check_beam(const engine::Beam& beam, std::int32_t angle_count) {
  require_finite("azimuth", beam.azimuth);
  if (!(beam.polar_angle >= 0.0f && beam.polar_angle < 90.0f))
    throw InvalidInput("polar_angle = " + text(beam.polar_angle) +
                       " degree, must be at least 0 and below 90 degree");
  check_detection_angles(beam, angle_count);
  require_at_least("atoms_per_layer", beam.atoms_per_layer, kLeastAtomsPerLayer);
  require_at_least("ion_z", beam.ion_z, 1);
  require_above("ion_mass", beam.ion_mass, 0.0, " amu");
  require_above("ion_energy", beam.ion_energy, 0.0, " keV");
  // A flux of 0 asks for no ions, which runs one ion at the centre of the cell.
  require_at_least("shadow_flux", beam.shadow_flux, 0.0);
  require_at_least("block_flux", beam.block_flux, 0.0);
}

std::string overlayer_path(std::int32_t j, float phi, float deg_to_rad) {
  if (j == 0) return "along the beam";
  return "along the exit direction of detection angle " + std::to_string(j) + " (" +
         text(phi / deg_to_rad) + " degree)";
}

void check_collisions(float density, float run_polar, std::int32_t type, const std::string& path) {
  const float cosine = std::cos(run_polar);
  if (engine::set_up_overlayer(density, cosine, type).collisions <= kMostOverlayerCollisions)
    return;
  const double per_ion = std::trunc(6.25 * density * 1.0e-16 / cosine) + 1.0;
  throw InvalidInput("overlayer_density = " + text(density) + " atoms/cm2 gives " + text(per_ion) +
                     " overlayer collisions per ion " + path + ", more than " +
                     std::to_string(kMostOverlayerCollisions));
}

}  // namespace

void check_amplitude(float sigma, const std::string& what) {
  require_within(what, sigma, kLeastAmplitude, kLargestAmplitude, kAngstrom);
}

void check_options(const engine::RunOptions& options) {
  const std::int32_t p = options.potential_selector;
  if (p < 0 || p > 2)
    throw InvalidInput("potential_selector = " + std::to_string(p) +
                       ", must be 0 (Moliere), 1 (Biersack universal) or 2 (bare Coulomb)");
}

void check_crystal_values(const SimulationInput& input) {
  const engine::Crystal& crystal = input.crystal;
  check_types(crystal);
  if (input.options.overlayer_flag == 1)
    require_at_least("overlayer_density", input.options.overlayer_density, 0.0);
  check_cell(crystal);
  check_atoms(crystal);
  check_beam(input.beam, input.dims.n(9));
}

void check_model_values(const SimulationInput& input) {
  const engine::Crystal& crystal = input.crystal;
  const engine::ModelSet& models = input.models;
  const float bound = depth_bound(crystal);
  for (std::int32_t s = 1; s <= models.structure_count; ++s) {
    for (std::int32_t a = 1; a <= models.displaced_atom_count; ++a) {
      const std::string name =
          "Structure model " + std::to_string(s) + ", atom " + std::to_string(a) + ": ";
      const engine::Shift& shift = models.shift(s, a);
      require_within(name + "dx", shift.dx, -crystal.repeat_x, crystal.repeat_x, kAngstrom);
      require_within(name + "dy", shift.dy, -crystal.repeat_y, crystal.repeat_y, kAngstrom);
      const float z = crystal.atoms[static_cast<std::size_t>(a - 1)].z + shift.dz;
      require_within(name + "atom_z + dz", z, -bound, bound, kAngstrom);
    }
  }
  for (std::int32_t v = 1; v <= models.vibration_count; ++v)
    for (std::int32_t a = 1; a <= models.vibrated_atom_count; ++a)
      check_amplitude(models.sigma(v, a), "Vibration model " + std::to_string(v) + ", atom " +
                                              std::to_string(a) + ": vibration_sigma");
}

void check_overlayer_collisions(const SimulationInput& input, float pi, float deg_to_rad) {
  const engine::RunOptions& options = input.options;
  if (options.overlayer_flag != 1) return;
  const engine::Beam& beam = input.beam;
  check_collisions(options.overlayer_density, beam.polar_angle, options.overlayer_type,
                   overlayer_path(0, 0.0f, deg_to_rad));
  for (std::size_t j = 0; j < beam.detection_angles.size(); ++j) {
    const float phi = beam.detection_angles[j];
    // The reversed exit direction of the blocking run, as the run driver sets it.
    const float run_polar = (pi - beam.polar_angle) - phi;
    check_collisions(options.overlayer_density, run_polar, options.overlayer_type,
                     overlayer_path(static_cast<std::int32_t>(j + 1), phi, deg_to_rad));
  }
}

}  // namespace polysim
