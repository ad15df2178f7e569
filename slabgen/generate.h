// A crystal description turned into a simulation input and a report of what was built.
#pragma once

#include <string>

#include "slabgen/description.h"

namespace slabgen {

enum class Variant { polysim, monosim };

struct Generated {
  std::string input;   // the simulation input file
  std::string report;  // what was built, for the user
};

// Throws DescriptionError for a description that cannot be used, SlabError for a crystal or
// geometry that cannot be built.
Generated generate(const Description& description, Variant variant);

}  // namespace slabgen
