// The text form of a spectrum's counts: a one-dimensional spectrum holds one count per line;
// a two-dimensional one holds one line per axis-2 channel, its counts the axis-1 channels in
// order, separated by blanks.
#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace specstore {

// A text that cannot be read as counts; what() names the source and the line.
class TextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CountsTable {
  int dim = 1;
  int range1 = 0;              // channels on axis 1
  int range2 = 0;              // channels on axis 2 (0 for one dimension)
  std::vector<double> values;  // axis 1 fastest
};

// Reads counts of element type `type` from `in`. The table is two-dimensional when a line
// holds more than one count or `two_dimensional` is asked for; every line must then hold the
// same number of counts. Blank lines at the end are ignored. `source` names the text in
// errors.
CountsTable read_counts(std::istream& in, const std::string& source, int type,
                        bool two_dimensional);

// The text of `values`, `per_line` counts to a line.
std::string format_counts(const std::vector<double>& values, int per_line, int type);

}  // namespace specstore
