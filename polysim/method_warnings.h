// Warnings where a run leaves the range in which the method is sound: the run goes on, but
// the user is told which atoms and models to distrust and why.
#pragma once

#include <string>
#include <vector>

#include "polysim/simulation_input.h"

namespace polysim {

// A model shift with a larger component along the beam (Å) is re-weighted only through its
// part across the beam, which misses the change of depth.
inline constexpr float kLargestShiftAlongBeam = 0.05f;

// The warnings of a prepared input (angles in radians), one line of text each, in this order:
// - every atom with a vibration model whose amplitude exceeds sqrt(2) times the atom's own
//   (the re-weighting factors then have infinite variance), naming the model with the
//   largest amplitude;
// - every atom whose shift in some structure model has a component along the beam of more
//   than kLargestShiftAlongBeam, naming the model with the largest such component;
// - every atom whose neighbouring cell along x or y (same row and layer, across the periodic
//   boundary too) holds no atom while the edge beyond which ions no longer examine the atom's
//   cell lies closer to the atom than its type's interaction radius `radii`(t - 1) (Å): ions
//   on the far side of that empty cell miss the atom.
std::vector<std::string> method_warnings(const SimulationInput& input,
                                         const std::vector<float>& radii);

}  // namespace polysim
