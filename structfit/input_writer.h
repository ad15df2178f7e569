// Writing an altered crystal and its model set as a simulation input file, in the layout the
// simulation reader expects.
#pragma once

#include <ostream>

#include "structfit/base_crystal.h"
#include "structfit/multimodel.h"

namespace structfit {

// Writes the crystal records (with the counts N10..N19 as they stand in `crystal`), then
// "Outputting multimodel parameters" to `console`, then the multi-model groups.
void write_simulation_input(const BaseCrystal& crystal, const FitModels& models, std::ostream& out,
                            std::ostream& console);

}  // namespace structfit
