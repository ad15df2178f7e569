// The lines that polysim's and monosim's result files write alike: the seed after the
// comment, the start positions, incidence, potential and unconnected legs of the beam report,
// the atom types and surface cell of the target report, and the heading and atom lines of the
// shadowing table.
#pragma once

#include <cstdint>
#include <string_view>

#include "textio/format_writer.h"

namespace polysim {

// "(' Seed      :  ',A)": the run seed, with which IONBEAM_SEED repeats the run.
const textio::Format& seed_line();
// "(' Ions impinge from ',A,' starting positions.')" with "regular" or "random".
const textio::Format& start_positions();
// Polar angle and azimuth of incidence, degrees.
const textio::Format& incidence();
// "(' ',A,' scattering potential')" with potential_name.
const textio::Format& potential_line();
const textio::Format& unconnected_legs();
const textio::Format& target_heading();
// Type number, atomic number, mass.
const textio::Format& type_line();
// Repeat distances and atoms per layer.
const textio::Format& surface_cell();
const textio::Format& shadowing_heading();
// Atom, type, x, y, z, three amplitudes, hitting probability.
const textio::Format& atom_line();

// The potential the deflection tables are built with: selector 0 "Moliere", 1 "Biersack
// universal", any other (2) "bare Coulomb".
std::string_view potential_name(std::int32_t selector);

}  // namespace polysim
