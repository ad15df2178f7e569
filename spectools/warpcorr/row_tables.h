// The row tables of the detector straightening: per output column the source row at which
// the column starts (baseRows) and a fine correction added to it (rowCorrections).
#pragma once

#include <array>
#include <string_view>

namespace spectools::distortion {

// The straightened window: 163 angle columns by 119 energy rows.
inline constexpr int kWindowColumns = 163;
inline constexpr int kWindowRows = 119;

using RowTable = std::array<int, kWindowColumns>;

struct RowTables {
  RowTable base_rows;
  RowTable row_corrections;
};

// The built-in tables of a build: "warpcorr" carries the measured distortion of the detector
// and its preset fine correction, "stepcorr" zeros in both. Throws std::out_of_range for
// another name.
const RowTables& builtin_tables(std::string_view tool);

}  // namespace spectools::distortion
