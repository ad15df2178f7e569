// Drawing with gnuplot: the script of a picture, and the gnuplot process that runs it.
#pragma once

#include <cstdio>
#include <string>

#include "ionplot/plot.h"

namespace ionplot {

enum class Format { png, svg };

struct Picture {
  Format format = Format::png;
  int width = 800, height = 560;  // pixels (SVG: its width and height attributes)
  std::string output;             // the file gnuplot writes
  std::string title;              // replaces the plot's own title when not empty
};

std::string gnuplot_script(const CurvePlot& plot, const Picture& picture);
std::string gnuplot_script(const HeatMap& map, const Picture& picture);

// The gnuplot program on PATH; throws PlotError with the package to install when there is none.
std::string find_gnuplot();

// One gnuplot process fed through a pipe. The destructor closes the pipe if finish() was not
// called (after a failure elsewhere), so the process never outlives the object.
class Gnuplot {
 public:
  explicit Gnuplot(const std::string& program);
  ~Gnuplot();
  Gnuplot(const Gnuplot&) = delete;
  Gnuplot& operator=(const Gnuplot&) = delete;

  void send(const std::string& script);
  // Closes the pipe and waits; throws PlotError unless gnuplot exits with status 0.
  void finish();

 private:
  FILE* pipe_ = nullptr;
};

// Runs `script` through gnuplot and checks that it wrote `output`.
void draw(const std::string& script, const std::string& output);

}  // namespace ionplot
