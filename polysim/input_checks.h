// Checks of the simulation input that keep every later table access in range. Each failed
// check throws InvalidInput with one line naming the item, its value and what is allowed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "engine/model.h"
#include "polysim/simulation_input.h"

namespace polysim {

class InvalidInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The counts against each other: edge list sizes, at least one angle and model of each kind,
// capacities, model atoms within the crystal, at most 9999 model pairs.
void check_dimension_record(const DimensionRecord& dims);

// Bytes the run's tables need for these counts (saturating, as a double).
double table_bytes(const DimensionRecord& dims);
// Refuses counts whose tables would need more than `available_bytes`.
void check_table_memory(const DimensionRecord& dims, double available_bytes);
// Physical memory of this machine, bytes.
double physical_memory_bytes();

// Bytes that an input file needs at least to hold the records these counts call for. Every
// record of groups 5 to 18 starts on a line of its own and takes at least two bytes (a value
// or a slash, and the line end); an edge takes two more (edges rise, so no repeat form or
// null value can stand for several).
double least_input_bytes(const DimensionRecord& dims);
// Refuses counts that an input file of `file_bytes` bytes cannot hold.
void check_file_capacity(const DimensionRecord& dims, double file_bytes);

// Atom `a` (1-based): its cell indices and its type.
void check_atom(const engine::Atom& atom, std::int32_t a, const DimensionRecord& dims);
// The overlayer type, when the overlayer is on.
void check_overlayer(const engine::RunOptions& options, const DimensionRecord& dims);

// A parameter description's value count m against the model count, and a model's choice
// against m. `what` names the parameter, e.g. "structure parameter 2 (shift top layer)".
void check_value_count(const std::string& what, std::int32_t m, std::int32_t model_count);
void check_choice(const std::string& what, std::int32_t model, std::int32_t choice, std::int32_t m);

}  // namespace polysim
