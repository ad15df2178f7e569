// Column mapping and recalibration of the straightened window.
#include "spectools/warpcorr/window.h"

#include <algorithm>
#include <climits>

namespace spectools::distortion {
namespace {

// The source strip starts three rows above the tabulated row.
constexpr int kRowLead = 3;

constexpr double kAngleSpan = 24.0;         // degrees across the window
constexpr double kEnergyLowEnd = 0.99;      // first row, as a fraction of X
constexpr double kEnergyRowsPerX = 5950.0;  // 119 rows over 0.02 X

double centre_of(const Calibration& source, int angle_channels) {
  return source.offset + 0.5 * angle_channels * source.slope;
}

}  // namespace

int source_column(int column) {
  return kFirstSourceColumn + column;
}

int source_row(const RowTables& tables, int column) {
  const long long row = static_cast<long long>(tables.base_rows.at(column)) +
                        tables.row_corrections.at(column) + kRowLead;
  return static_cast<int>(std::clamp<long long>(row, INT_MIN, INT_MAX));
}

Calibration angle_window(const Calibration& source, int angle_channels) {
  Calibration window = source;
  window.offset = centre_of(source, angle_channels) - 0.5 * kAngleSpan;
  window.slope = kAngleSpan / kWindowColumns;
  return window;
}

Calibration energy_window(const Calibration& source, int angle_channels) {
  const double centre = centre_of(source, angle_channels);
  Calibration window = source;
  window.offset = kEnergyLowEnd * centre;
  window.slope = centre / kEnergyRowsPerX;
  return window;
}

}  // namespace spectools::distortion
