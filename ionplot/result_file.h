// The curves of a simulation result file of polysim (one model pair) or of monosim: blocked
// yield per detection angle (total, per atom type, per layer), the hitting probability per
// layer, and the models the file belongs to.
#pragma once

#include <string>
#include <vector>

namespace ionplot {

struct ResultCurves {
  std::string label;           // file name, with the structure and vibration model parameters
  std::vector<double> angles;  // degrees
  std::vector<double> total;   // monolayers
  std::vector<std::vector<double>> elements;  // [type][angle]
  std::vector<std::vector<double>> layers;    // [layer][angle]
  std::vector<int> type_z;                    // atomic number of each type
  std::vector<double> layer_hitting;          // hitting probability of each layer, monolayers
};

// Throws PlotError when the file cannot be read or lacks the tables of a result file.
ResultCurves read_result_file(const std::string& path);

}  // namespace ionplot
