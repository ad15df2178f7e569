// Read operations of the simulation input from the option flags to the beam (groups 2-14).
#include <string>

#include "polysim/input_checks.h"
#include "polysim/input_groups.h"

namespace polysim {

namespace {

std::string of_atom(const char* item, std::int32_t a) {
  return std::string(item) + " of atom " + std::to_string(a);
}

void read_unused_reals(textio::FreeReader& in, const char* item) {
  float unused[2] = {0.0f, 0.0f};
  in.begin();
  in.read(unused[0], item);
  in.read(unused[1], item);
}

void read_edges(textio::FreeReader& in, std::vector<float>& edges, std::int32_t count,
                const char* item) {
  in.begin();
  for (std::int32_t k = 0; k < count; ++k)
    in.read(edges[k], std::string(item) + "(" + std::to_string(k + 1) + ")");
}

void read_atom(textio::FreeReader& in, engine::Atom& atom, std::int32_t a) {
  float unused = 0.0f;
  in.begin();
  in.read(atom.x, of_atom("atom_x", a));
  in.read(atom.y, of_atom("atom_y", a));
  in.read(atom.z, of_atom("atom_z", a));
  in.read(atom.cell_i, of_atom("atom_cell_i", a));
  in.read(atom.cell_j, of_atom("atom_cell_j", a));
  in.read(atom.layer, of_atom("atom_layer", a));
  in.read(atom.sigma, of_atom("atom_sigma", a));
  in.read(unused, of_atom("value 8", a));
  in.read(unused, of_atom("value 9", a));
  in.read(atom.type, of_atom("atom_type", a));
  atom.change_class = 1;
}

void read_geometry_and_beam(textio::FreeReader& in, engine::Beam& beam) {
  in.begin();
  in.read(beam.azimuth, "azimuth");
  in.read(beam.polar_angle, "polar_angle");
  in.read(beam.detection_angles[0], "first detection angle");
  in.read(beam.angle_step, "angle_step");
  in.read(beam.atoms_per_layer, "atoms_per_layer");
  in.begin();
  in.read(beam.ion_z, "ion_z");
  in.read(beam.ion_mass, "ion_mass");
  in.read(beam.ion_energy, "ion_energy");
  in.read(beam.shadow_flux, "shadow_flux");
  in.read(beam.block_flux, "block_flux");
}

}  // namespace

bool read_option_flags(textio::FreeReader& in, SimulationInput& input) {
  read_unused_reals(in, "group 2 value");
  std::int32_t flags[8] = {};
  static const char* const kNames[8] = {"start_mode",      "overlayer_flag",  "potential_selector",
                                        "reserved flag 4", "reserved flag 5", "reserved flag 6",
                                        "reserved flag 7", "format_marker"};
  in.begin();
  for (int k = 0; k < 8; ++k) in.read(flags[k], kNames[k]);
  input.options.start_mode = flags[0];
  input.options.overlayer_flag = flags[1];
  input.options.potential_selector = flags[2];
  return flags[3] == 0 && flags[4] == 0 && flags[5] == 0 && flags[6] == 0 && flags[7] == 1;
}

void read_crystal_groups(textio::FreeReader& in, SimulationInput& input) {
  engine::Crystal& crystal = input.crystal;
  for (std::size_t t = 0; t < crystal.types.size(); ++t) {
    const std::string which = " of atom type " + std::to_string(t + 1);
    in.begin();
    in.read(crystal.types[t].z, "type_z" + which);
    in.read(crystal.types[t].mass, "type_mass" + which);
  }
  in.begin();
  in.read(input.options.overlayer_type, "overlayer_type");
  in.read(input.options.overlayer_density, "overlayer_density");
  check_overlayer(input.options, input.dims);
  read_unused_reals(in, "group 7 value");
  for (std::size_t a = 0; a < crystal.atoms.size(); ++a) {
    const auto number = static_cast<std::int32_t>(a + 1);
    read_atom(in, crystal.atoms[a], number);
    check_atom(crystal.atoms[a], number, input.dims);
  }
  in.begin();
  in.read(crystal.repeat_x, "repeat_x");
  in.read(crystal.repeat_y, "repeat_y");
  read_edges(in, crystal.x_edges, crystal.cell_count_x, "x_edges");
  read_edges(in, crystal.y_edges, crystal.cell_count_y, "y_edges");
  read_edges(in, crystal.z_edges, crystal.layer_count, "z_edges");
  read_geometry_and_beam(in, input.beam);
}

}  // namespace polysim
