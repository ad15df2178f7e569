// Geometry of the straightened window: where each output column comes from, and the
// calibrations of the window's two axes.
#pragma once

#include "spectools/frame/calibration.h"
#include "spectools/warpcorr/row_tables.h"

namespace spectools::distortion {

// Output column i is source column 43 + i (the detector's useful angle range).
inline constexpr int kFirstSourceColumn = 43;

int source_column(int column);

// Source row of output row 0 in column `column`: baseRows + rowCorrections + 3. A sum beyond
// the int range is held at its end, where the store refuses the block as out of extent.
int source_row(const RowTables& tables, int column);

// Axis 1 of the window: 24 degrees over the 163 columns, centred on the source's angle centre
// (offset + slope * angle_channels / 2, with the source's channel count on axis 1).
Calibration angle_window(const Calibration& source, int angle_channels);

// Axis 2 of the window: the 119 rows span 0.99 X to 1.01 X around the central energy
// X = offset + slope * angle_channels / 2, the same half-width as the angle centre: the
// channel count of axis 1, not of axis 2.
Calibration energy_window(const Calibration& source, int angle_channels);

}  // namespace spectools::distortion
