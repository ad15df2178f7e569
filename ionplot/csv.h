// The plotted numbers as CSV with a header line, for any other tool to take over.
#pragma once

#include <string>

#include "ionplot/plot.h"

namespace ionplot {

// "series,<x column>,<y column>", then one line per point of every series in order.
std::string csv_text(const CurvePlot& plot);
// "<x column>,<y column>,counts", axis 1 fastest.
std::string csv_text(const HeatMap& map);

// Throws PlotError when the file cannot be written.
void write_text_file(const std::string& path, const std::string& text);

}  // namespace ionplot
