// The fit set-up of bfgsin.dat: the data sets (measured curve and base crystal), how the
// simulated element columns combine, the model points per run and the fit parameters with the
// tables by which each moves the atoms.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace structfit {

// The limits of the fitter's tables. A data set number and a model point number are written
// as one digit into file names; a row of a parameter table moves one atom of the base file.
inline constexpr std::int32_t kMostDataSets = 9;
inline constexpr std::int32_t kMostElements = 6;  // value columns of a short result line
inline constexpr std::int32_t kMostParameters = 50;
inline constexpr std::int32_t kMostRows = 300;
inline constexpr std::int32_t kLeastPoints = 5;  // the five-point gradient needs them
inline constexpr std::int32_t kMostPoints = 9;

struct DataSet {
  std::string experiment_path;       // 80 columns, blank-padded
  std::int32_t constraint_flag = 0;  // 1: the scale factor is held near `nominal_scale`
  float nominal_scale = 0.0f;        // read only when the flag is 1
  float tolerance_percent = 0.0f;
  std::string base_path;  // 80 columns: a simulation input file with the unaltered crystal
};

struct ElementColumn {
  std::int32_t include = 0;  // 1: the column counts in the combined curve
  float weight = 0.0f;
};

// One row of a parameter table, for one atom: c1..c3 move its position (Å per unit of the
// parameter), c4..c6 set its three amplitude values (Å per unit) when positive.
using ParameterRow = std::array<float, 6>;

struct FitParameter {
  std::string name;  // 20 columns, blank-padded
  float guess = 0.0f;
  float step = 0.0f;               // spacing of the model points and finite-difference step
  std::vector<ParameterRow> rows;  // row k applies to atom k of the base file
};

struct FitSetup {
  std::vector<DataSet> data_sets;
  std::string comment;  // 80 columns
  std::vector<ElementColumn> elements;
  float relative_tolerance = 0.0f;
  std::int32_t point_count = 0;     // NPTS, model points per simulation run
  std::int32_t scaling_option = 0;  // read and echoed only
  std::vector<FitParameter> parameters;
};

// Reads `path` (bfgsin.dat) by fixed columns and echoes it to `console` as it goes. The
// experiment and base file names must name existing files. Throws SetupRefused for a missing
// file or a count outside its limit (the echo up to that point is already written),
// textio::ReadError for a record that does not read.
FitSetup read_fit_setup(const std::filesystem::path& path, std::ostream& console);

}  // namespace structfit
