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

// The derivation steps of the crystal and the models, in their order, on tables sized for
// their counts with every atom inside the cell grid: clears and fills cell_atom; sets
// z_min/z_max, each atom's change_class, gauss_coeff and reach2; fills vibration_gauss_coeff
// and vibration_ratio; closes x_edges and y_edges with the repeat distances. The last z edge
// is left alone: the end depth belongs to the tables of each ion run. Amplitudes are not
// checked (an amplitude 0, an atom fixed at its site, gives an infinite coefficient).
void derive_model_data(engine::Crystal& crystal, engine::ModelSet& models);

// derive_model_data on data the input reader has filled and sized, then the beam angles
// converted to radians (tables.deg_to_rad) and the detection angles 2..N9 filled from the
// first and the step. Throws InvalidInput (polysim/input_checks.h) before changing anything
// when the tables are not sized from the dimension record, an atom's cell lies outside the
// grid or an amplitude outside 0.001..5 Å.
void prepare_models(engine::Crystal& crystal, engine::ModelSet& models, engine::Beam& beam,
                    const engine::FixedTables& tables);

// The models as the tracking reads them, from derived data: atoms N19 < a <= N18, displaced
// but without model amplitudes, get their own amplitude in every vibration model (Gaussian
// coefficient the atom's, ratio 1), so that they have ring tables and a model-1 coefficient
// like every atom that changes between models. The models themselves when N18 <= N19.
engine::ModelSet models_for_tracking(const engine::Crystal& crystal,
                                     const engine::ModelSet& models);

}  // namespace polysim
