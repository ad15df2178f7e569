// Read operations of the simulation input from the option flags to the beam (groups 2-14).
// Each table grows as its values are read; the cell map and the detection angles, which no
// value of the file fills, are created once the values that bound them have been checked.
#include <string>

#include "polysim/input_checks.h"
#include "polysim/input_groups.h"
#include "polysim/input_values.h"

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

// The `count` starting edges and one more slot, which set-up closes the list with.
void read_edges(textio::FreeReader& in, std::vector<float>& edges, std::int32_t count,
                const char* item) {
  in.begin();
  read_list(edges, count, [&](float& edge, std::int32_t k) {
    in.read(edge, std::string(item) + "(" + std::to_string(k + 1) + ")");
  });
  edges.push_back(0.0f);
}

void read_atom(textio::FreeReader& in, engine::Atom& atom, std::int32_t a) {
  float unused = 0.0f;
  read_atom_site(in, atom, a);
  in.read(atom.sigma, of_atom("atom_sigma", a));
  in.read(unused, of_atom("value 8", a));
  in.read(unused, of_atom("value 9", a));
  in.read(atom.type, of_atom("atom_type", a));
  atom.change_class = 1;
}

}  // namespace

void read_atom_site(textio::FreeReader& in, engine::Atom& atom, std::int32_t a) {
  in.begin();
  in.read(atom.x, of_atom("atom_x", a));
  in.read(atom.y, of_atom("atom_y", a));
  in.read(atom.z, of_atom("atom_z", a));
  in.read(atom.cell_i, of_atom("atom_cell_i", a));
  in.read(atom.cell_j, of_atom("atom_cell_j", a));
  in.read(atom.layer, of_atom("atom_layer", a));
}

// The first detection angle only; set-up derives the others from it and the step.
void read_geometry_and_beam(textio::FreeReader& in, engine::Beam& beam) {
  float first = 0.0f;
  in.begin();
  in.read(beam.azimuth, "azimuth");
  in.read(beam.polar_angle, "polar_angle");
  in.read(first, "first detection angle");
  beam.detection_angles.assign(1, first);
  in.read(beam.angle_step, "angle_step");
  in.read(beam.atoms_per_layer, "atoms_per_layer");
  in.begin();
  in.read(beam.ion_z, "ion_z");
  in.read(beam.ion_mass, "ion_mass");
  in.read(beam.ion_energy, "ion_energy");
  in.read(beam.shadow_flux, "shadow_flux");
  in.read(beam.block_flux, "block_flux");
}

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

void read_atom_types(textio::FreeReader& in, SimulationInput& input) {
  read_list(input.crystal.types, input.dims.n(2), [&](engine::AtomType& type, std::int32_t t) {
    const std::string which = " of atom type " + std::to_string(t + 1);
    in.begin();
    in.read(type.z, "type_z" + which);
    in.read(type.mass, "type_mass" + which);
  });
}

void read_cell_geometry(textio::FreeReader& in, engine::Crystal& crystal) {
  in.begin();
  in.read(crystal.repeat_x, "repeat_x");
  in.read(crystal.repeat_y, "repeat_y");
  read_edges(in, crystal.x_edges, crystal.cell_count_x, "x_edges");
  read_edges(in, crystal.y_edges, crystal.cell_count_y, "y_edges");
  read_edges(in, crystal.z_edges, crystal.layer_count, "z_edges");
}

void finish_crystal_groups(SimulationInput& input) {
  engine::Crystal& crystal = input.crystal;
  check_crystal_values(input);
  crystal.cell_atom.assign(static_cast<std::size_t>(crystal.cell_count_x) *
                               static_cast<std::size_t>(crystal.cell_count_y) *
                               static_cast<std::size_t>(crystal.layer_count),
                           0);
  input.beam.detection_angles.resize(static_cast<std::size_t>(input.dims.n(9)), 0.0f);
}

void read_crystal_groups(textio::FreeReader& in, SimulationInput& input) {
  read_atom_types(in, input);
  in.begin();
  in.read(input.options.overlayer_type, "overlayer_type");
  in.read(input.options.overlayer_density, "overlayer_density");
  check_overlayer(input.options, input.dims);
  read_unused_reals(in, "group 7 value");
  read_list(input.crystal.atoms, input.dims.n(1), [&](engine::Atom& atom, std::int32_t a) {
    read_atom(in, atom, a + 1);
    check_atom(atom, a + 1, input.dims);
  });
  read_cell_geometry(in, input.crystal);
  read_geometry_and_beam(in, input.beam);
  finish_crystal_groups(input);
}

}  // namespace polysim
