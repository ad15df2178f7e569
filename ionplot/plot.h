// What a picture shows, independent of how it is drawn: curves over a common x axis, or a
// heat map over two calibrated axes.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace ionplot {

// A source file or spectrum that cannot be plotted; what() names it and says why.
class PlotError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Series {
  std::string name;  // legend text
  std::vector<double> x, y;
  bool points = false;  // drawn as points (measurements) rather than lines
};

struct CurvePlot {
  std::string title, x_label, y_label;
  std::string x_column, y_column;  // CSV column names
  std::vector<Series> series;
};

struct HeatMap {
  std::string title, x_label, y_label;
  std::string x_column, y_column;
  std::vector<double> x, y;  // channel centres along axis 1 and axis 2, calibrated
  std::vector<double> z;     // counts, axis 1 fastest: z[j * x.size() + i]
};

}  // namespace ionplot
