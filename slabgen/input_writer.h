// The simulation input file of a deck, in the layout a simulation input is written with, for
// polysim (and structfit's base files) or for the single-model monosim.
#pragma once

#include <string>

#include "slabgen/deck.h"

namespace slabgen {

std::string polysim_input(const Deck& deck);
// Groups 1 to 14 of monosim's variant: no models, amplitudes written along x, y and z,
// correlated vibrations when the deck asks for them.
std::string monosim_input(const Deck& deck);

}  // namespace slabgen
