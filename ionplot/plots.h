// The pictures ionplot draws, built from their source files.
#pragma once

#include <string>
#include <vector>

#include "ionplot/plot.h"

namespace ionplot {

enum class Breakdown { total, element, layer };

// Blocking curves of result files overlaid: the total signal, or one curve per atom type or
// per layer of each file.
CurvePlot blocking_plot(const std::vector<std::string>& result_files, Breakdown by);
// Hitting probability per layer from the shadowing run of each result file.
CurvePlot hitting_plot(const std::vector<std::string>& result_files);
// structfit's skew files: the measured curve (points) and the simulated one (line) of each.
CurvePlot skew_plot(const std::vector<std::string>& skew_files);
// structfit's R-factor curve (rfactor2.dat: one value a line) or table (rfactor.dat: one
// column per fit parameter) over the model points.
CurvePlot rfactor_plot(const std::string& rfactor_file);

// The rows of numbers of a text file, each line one row; throws PlotError naming the line
// that does not read.
std::vector<std::vector<double>> read_number_rows(const std::string& path);

}  // namespace ionplot
