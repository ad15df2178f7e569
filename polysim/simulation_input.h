// Everything the simulation input file holds: the crystal, the structure and vibration
// models, the beam, and the parameter descriptions printed in the result files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/model.h"

namespace polysim {

// The nineteen counts N1..N19 of the dimension record; n(k) is Nk.
struct DimensionRecord {
  std::array<std::int32_t, 19> counts{};
  std::int32_t n(int k) const { return counts[k - 1]; }
  std::int32_t& n(int k) { return counts[k - 1]; }
  bool operator==(const DimensionRecord&) const = default;
};

// A named model parameter: its candidate values and, per model, the index (1-based) of the
// value that model uses. Descriptive only.
struct ParameterDescription {
  std::string name;                  // 20 columns, blank-padded
  std::vector<float> values;         // m candidate values
  std::vector<std::int32_t> choice;  // one per model
  bool operator==(const ParameterDescription&) const = default;
};

struct SimulationInput {
  std::string comment;  // 80 columns, blank-padded
  engine::RunOptions options;
  DimensionRecord dims;
  engine::Crystal crystal;
  engine::ModelSet models;
  engine::Beam beam;
  std::vector<ParameterDescription> structure_params;  // N12 descriptions
  std::vector<ParameterDescription> vibration_params;  // N13 descriptions
  bool operator==(const SimulationInput&) const = default;
};

}  // namespace polysim
