// The run's crystal and model data: what the simulation input fills and set-up derives. The
// engine reads these records; during an ion run they are read-only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

struct AtomType {
  std::int32_t z = 0;  // atomic number
  float mass = 0.0f;   // amu
  bool operator==(const AtomType&) const = default;
};

struct Atom {
  float x = 0.0f, y = 0.0f, z = 0.0f;  // reference position, Å; z is the depth
  std::int32_t cell_i = 0;             // 1-based cell indices along x, y and z (layer)
  std::int32_t cell_j = 0;
  std::int32_t layer = 0;
  float sigma = 0.0f;     // rms thermal vibration amplitude, Å
  std::int32_t type = 0;  // 1-based atom type
  // Derived by set-up:
  std::int32_t change_class = 1;  // 1 none; 3 shifts in depth; 5 sideways; +1 amplitude varies
  float gauss_coeff = 0.0f;       // 125 / (2 sigma^2), 1/Å^2 scaled by the exp-table factor
  float reach2 = 0.0f;            // squared distance within which the atom can be met, Å^2
  bool operator==(const Atom&) const = default;
};

// Atoms, types and the cell grid. Tables are 0-based in memory; atom, type and cell numbers
// as they appear in files are 1-based and are converted only at the accessors.
struct Crystal {
  std::vector<AtomType> types;  // type t at index t - 1
  std::vector<Atom> atoms;      // atom a at index a - 1
  std::int32_t cell_count_x = 0, cell_count_y = 0, layer_count = 0;
  float repeat_x = 0.0f, repeat_y = 0.0f;  // surface cell repeat distances, Å
  // Ascending starting edges of the cells, Å, each closed by one more slot: repeat_x,
  // repeat_y, and for z a slot the tracking never reads (the end depth of an ion run
  // changes with its interaction radii and is carried by its RunTables).
  std::vector<float> x_edges, y_edges, z_edges;
  // Atom number (1-based) occupying cell (i, j, layer), or 0.
  std::vector<std::int32_t> cell_atom;
  // Derived by set-up: smallest and largest atom depth over all structure models, Å; both
  // start from 0, so the surface plane is always inside the range.
  float z_min = 0.0f, z_max = 0.0f;

  bool operator==(const Crystal&) const = default;

  std::int32_t& cell(std::int32_t i, std::int32_t j, std::int32_t layer) {
    return cell_atom[cell_index(i, j, layer)];
  }
  std::int32_t cell(std::int32_t i, std::int32_t j, std::int32_t layer) const {
    return cell_atom[cell_index(i, j, layer)];
  }
  std::size_t cell_index(std::int32_t i, std::int32_t j, std::int32_t layer) const {
    return (static_cast<std::size_t>(layer - 1) * cell_count_y + (j - 1)) * cell_count_x + (i - 1);
  }
};

struct Shift {
  float dx = 0.0f, dy = 0.0f, dz = 0.0f;  // Å
  bool operator==(const Shift&) const = default;
};

// The structure models (shifts of atoms 1..displaced_atom_count) and vibration models
// (amplitudes of atoms 1..vibrated_atom_count). Every structure model combined with every
// vibration model is a model pair.
struct ModelSet {
  std::int32_t structure_count = 0;       // structure models
  std::int32_t vibration_count = 0;       // vibration models
  std::int32_t displaced_atom_count = 0;  // atoms with a shift in every structure model
  std::int32_t vibrated_atom_count = 0;   // atoms with an amplitude in every vibration model
  std::vector<Shift> structure_shift;     // (s, a) at (s - 1) * displaced_atom_count + a - 1
  std::vector<float> vibration_sigma;     // (v, a) at (v - 1) * vibrated_atom_count + a - 1, Å
  // Derived by set-up, same layout as vibration_sigma:
  std::vector<float> vibration_gauss_coeff;  // 125 / (2 sigma^2)
  std::vector<float> vibration_ratio;        // vibration_gauss_coeff / atom gauss_coeff

  bool operator==(const ModelSet&) const = default;

  Shift& shift(std::int32_t s, std::int32_t a) { return structure_shift[shift_index(s, a)]; }
  const Shift& shift(std::int32_t s, std::int32_t a) const {
    return structure_shift[shift_index(s, a)];
  }
  float& sigma(std::int32_t v, std::int32_t a) { return vibration_sigma[vibration_index(v, a)]; }
  float sigma(std::int32_t v, std::int32_t a) const {
    return vibration_sigma[vibration_index(v, a)];
  }
  std::size_t shift_index(std::int32_t s, std::int32_t a) const {
    return static_cast<std::size_t>(s - 1) * displaced_atom_count + (a - 1);
  }
  std::size_t vibration_index(std::int32_t v, std::int32_t a) const {
    return static_cast<std::size_t>(v - 1) * vibrated_atom_count + (a - 1);
  }
};

// Run options of the simulation input.
struct RunOptions {
  std::int32_t start_mode = 0;          // 0 regular grid of start positions, else random
  std::int32_t overlayer_flag = 0;      // 1: an amorphous overlayer covers the crystal
  std::int32_t potential_selector = 0;  // 0 Moliere, 1 universal screening
  std::int32_t overlayer_type = 0;      // atom type of the overlayer
  float overlayer_density = 0.0f;       // atoms/cm^2
  bool operator==(const RunOptions&) const = default;
};

// Beam and detection geometry. Angles are in degrees as read and radians after set-up.
struct Beam {
  float azimuth = 0.0f;      // azimuth of incidence from the x axis
  float polar_angle = 0.0f;  // polar angle of incidence from the surface normal
  float angle_step = 0.0f;   // step between detection angles
  float atoms_per_layer = 0.0f;
  std::vector<float> detection_angles;  // the first is read; set-up fills the rest
  std::int32_t ion_z = 0;
  float ion_mass = 0.0f;     // amu
  float ion_energy = 0.0f;   // keV
  float shadow_flux = 0.0f;  // ions per Å^2 for the shadowing pass
  float block_flux = 0.0f;   // ions per Å^2 per detection angle
  bool operator==(const Beam&) const = default;
};

}  // namespace engine
