// Derivation of the run's model data after the simulation input is read: depth range, atom
// change classes, cell map, Gaussian coefficients, vibration coefficients and ratios, the
// squared reach of every atom, closed edge lists and the angles in radians.
#pragma once

#include "engine/fixed_tables.h"
#include "engine/model.h"

namespace polysim {

// Gaussian coefficient 125 / (2 sigma^2) of an rms amplitude sigma (Å), in 1/Å^2 times the
// exp-table scale 125.
float gauss_coefficient(float sigma);

// Runs the derivation steps in their order on data the input reader has filled and sized:
// clears and fills cell_atom; sets z_min/z_max, each atom's change_class, gauss_coeff and
// reach2; fills vibration_gauss_coeff and vibration_ratio; closes x_edges and y_edges with
// the repeat distances; converts the beam angles to radians (tables.deg_to_rad) and fills
// the detection angles 2..N9 from the first and the step. The last z edge is left to the
// run driver, which knows the interaction reach.
// Throws InvalidInput (polysim/input_checks.h) before changing anything when displaced atoms
// lack vibration models (N18 > N19), an amplitude lies outside 0.001..5 Å, or the data
// would index outside its tables.
void prepare_models(engine::Crystal& crystal, engine::ModelSet& models, engine::Beam& beam,
                    const engine::FixedTables& tables);

}  // namespace polysim
