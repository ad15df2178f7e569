// A two-dimensional spectrum of the experiment store as a heat map over its calibrated axes.
#pragma once

#include <string>

#include "ionplot/plot.h"

namespace ionplot {

// Connects to the store named by EXPERIMENTDIR (unset or empty: the current directory) and
// reads spectrum `name`. Axis k is drawn in the units of its calibration record
// (offset + slope x channel) when the record holds one, else in channels. Throws PlotError
// with the store's message when the spectrum cannot be read or is not two-dimensional.
HeatMap spectrum_map(const std::string& name);

}  // namespace ionplot
