// The built-in row tables. The detector images a line of constant energy as a shallow curve
// whose start row drifts from 485 to 500 across the window; the runs below are that curve.
#include "spectools/warpcorr/row_tables.h"

#include <iterator>
#include <stdexcept>
#include <string>

namespace spectools::distortion {
namespace {

struct Run {
  int value;
  int count;
};

// Start rows as value x count runs in column order.
constexpr Run kBaseRowRuns[] = {
    {492, 1}, {490, 3}, {489, 2}, {488, 6}, {487, 5},  {486, 4}, {485, 29}, {486, 7},
    {487, 6}, {488, 5}, {489, 7}, {490, 7}, {491, 34}, {492, 6}, {493, 5},  {494, 3},
    {495, 5}, {496, 4}, {497, 5}, {498, 6}, {499, 11}, {500, 2},
};

constexpr RowTable expand(const Run* first, const Run* last) {
  RowTable table{};
  int column = 0;
  for (const Run* run = first; run != last; ++run) {
    for (int k = 0; k < run->count; ++k) table.at(column++) = run->value;
  }
  if (column != kWindowColumns) throw std::logic_error("base row runs do not cover the window");
  return table;
}

// Residual row offsets of the detector after the coarse curve, columns 0 to 162.
constexpr int kPresetCorrections[] = {
    -1, -1, -1, 0,  1,  1,  -1, -2, -1, 0,  0,  -2, -2, -2, 0,  1,  -1, -2, -2, -1,  //
    1,  1,  -1, -2, -1, 2,  2,  -1, -3, -2, 1,  2,  0,  -2, -3, -1, 1,  1,  -1, -2,  //
    -2, 1,  2,  0,  -1, -2, 0,  2,  2,  0,  -2, -1, 1,  3,  1,  -1, -2, 0,  3,  2,   //
    -1, -1, 1,  2,  2,  0,  -2, -1, 0,  1,  1,  -2, -2, 0,  2,  1,  0,  -2, 0,  2,   //
    2,  1,  -2, -2, 0,  2,  1,  0,  -2, -1, 1,  1,  1,  -1, -2, -1, 0,  0,  -1, -2,  //
    -2, -1, 0,  0,  -1, -1, 0,  0,  -1, -1, -1, -2, -1, -1, 0,  -1, -2, -1, -1, -1,  //
    -1, -1, -1, -1, 0,  -1, -1, -2, -2, -1, -1, -2, -1, 0,  0,  -1, -1, -1, -1, -2,  //
    -2, -2, -1, -1, -2, -2, -2, -1, -2, -2, -2, -1, -1, -1, -1, -2, -2, -1, -1, -1,  //
    -1, -1, -1,
};
static_assert(std::size(kPresetCorrections) == kWindowColumns);

constexpr RowTable as_table(const int (&values)[kWindowColumns]) {
  RowTable table{};
  for (int column = 0; column < kWindowColumns; ++column) table.at(column) = values[column];
  return table;
}

constexpr RowTables kWarpTables = {expand(std::begin(kBaseRowRuns), std::end(kBaseRowRuns)),
                                   as_table(kPresetCorrections)};
constexpr RowTables kStepTables = {};

}  // namespace

const RowTables& builtin_tables(std::string_view tool) {
  if (tool == "warpcorr") return kWarpTables;
  if (tool == "stepcorr") return kStepTables;
  throw std::out_of_range("no built-in row tables for " + std::string(tool));
}

}  // namespace spectools::distortion
