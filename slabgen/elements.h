// The built-in table of the elements: atomic number and standard atomic weight by symbol.
#pragma once

#include <optional>
#include <string_view>

namespace slabgen {

struct Element {
  int z;        // atomic number
  double mass;  // standard atomic weight, amu
};

// The element of a chemical symbol (exact case, "Cu"); also "D" for deuterium, the usual
// light ion besides H and He. Empty for an unknown symbol.
std::optional<Element> find_element(std::string_view symbol);

}  // namespace slabgen
