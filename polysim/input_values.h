// Physical ranges of the values of the simulation input: every value that the run computes
// with must give finite numbers and a walk of bounded length. Each failed check throws
// InvalidInput with one line naming the item, its value and what is allowed.
#pragma once

#include <string>

#include "polysim/input_checks.h"
#include "polysim/simulation_input.h"

namespace polysim {

// rms vibration amplitudes (atom_sigma, vibration_sigma), Å.
inline constexpr float kLeastAmplitude = 0.001f;
inline constexpr float kLargestAmplitude = 5.0f;
// Repeat distances of the surface cell, Å.
inline constexpr float kLargestRepeat = 1000.0f;
// Depths (atoms in every structure model, z edges) lie within this many repeat distances
// (the larger of the two) per layer of the surface plane.
inline constexpr float kDepthRepeatsPerLayer = 10.0f;
inline constexpr float kLeastAtomsPerLayer = 0.01f;
// Overlayer collisions per ion in any ion run.
inline constexpr int kMostOverlayerCollisions = 1000;

// The amplitude `sigma` (Å) within kLeastAmplitude..kLargestAmplitude; `what` names it, e.g.
// "Atom 2: atom_sigma".
void check_amplitude(float sigma, const std::string& what);

// The potential selector: 0 Moliere, 1 Biersack universal, 2 bare Coulomb.
void check_options(const engine::RunOptions& options);

// Groups 5 to 14 as read (angles in degrees): atom types, overlayer density, atoms within
// the repeat cell and the depth bound, repeat distances, edge lists, beam and detection
// angles, atoms per layer, ion and fluxes.
void check_crystal_values(const SimulationInput& input);

// Groups 17 and 18: structure shifts and vibration amplitudes.
void check_model_values(const SimulationInput& input);

// With the overlayer on, the collisions per ion along the beam and along every reversed exit
// direction, at most kMostOverlayerCollisions. `input` is prepared (angles in radians).
void check_overlayer_collisions(const SimulationInput& input, float pi, float deg_to_rad);

}  // namespace polysim
