// The simulation input as numbers, in the order and the 32-bit types the file holds them:
// the slab's atoms numbered so that those with model shifts and model amplitudes come first,
// the cell grid, the beam, and the structure and vibration models of the model scans.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "slabgen/scan.h"
#include "slabgen/setup.h"
#include "slabgen/slab.h"

namespace slabgen {

struct DeckAtom {
  float x, y, z;
  std::int32_t cell_i, cell_j, layer;
  float sigma;  // the tracking amplitude, Å
  std::int32_t type;
};

struct DeckType {
  std::int32_t z;
  float mass;
};

struct DeckParameter {
  std::string name;
  std::vector<float> values;
  std::vector<std::int32_t> choice;  // per model, 1-based index into values
};

struct Deck {
  std::string comment;
  std::int32_t start_mode = 0, potential = 0;
  std::vector<DeckType> types;
  std::vector<DeckAtom> atoms;
  float repeat_x = 0, repeat_y = 0;
  std::vector<float> x_edges, y_edges, z_edges;
  float azimuth = 0, polar = 0, first_angle = 0, angle_step = 0, atoms_per_layer = 0;
  std::int32_t angle_count = 0;
  std::int32_t ion_z = 0;
  float ion_mass = 0, ion_energy = 0, shadow_flux = 0, block_flux = 0;
  std::vector<DeckParameter> structure_params, vibration_params;
  std::int32_t structure_models = 1, vibration_models = 1;
  std::int32_t displaced_atoms = 0, vibrated_atoms = 0;  // N18, N19
  std::vector<float> depth_shift;                        // (s, a) at (s - 1) * N18 + a - 1: dz, Å
  std::vector<float> model_sigma;                        // (v, a) at (v - 1) * N19 + a - 1, Å
  float correlation_coefficient = 0, correlation_distance = 0;
  bool correlated = false;
};

Deck build_deck(const SlabSetup& setup, const Slab& slab, const ScanGeometry& scan);

}  // namespace slabgen
