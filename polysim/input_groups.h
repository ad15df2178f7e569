// The read operations of the simulation input file, one function per group or series of
// groups. Range checks throw InvalidInput; malformed values throw textio::ReadError.
#pragma once

#include "polysim/simulation_input.h"
#include "textio/free_reader.h"

namespace polysim {

// Groups 2 and 3; returns false when the option flags are not those of this program.
bool read_option_flags(textio::FreeReader& in, SimulationInput& input);
// Group 4, checked, then every table sized from it.
void read_dimension_record(textio::FreeReader& in, SimulationInput& input, double available_bytes);
// Groups 5 to 14: types, overlayer, atoms, repeat distances, edges, geometry and beam.
void read_crystal_groups(textio::FreeReader& in, SimulationInput& input);
// Groups 15 to 19: parameter descriptions, structure shifts, vibration amplitudes.
void read_model_groups(textio::FreeReader& in, SimulationInput& input);

}  // namespace polysim
