// ionplot: pictures (PNG or SVG, drawn by gnuplot) and CSV tables of blocking curves, hitting
// probabilities, structfit's skew and R-factor files and 2-D spectra; see README.md.
#include <csignal>
#include <exception>
#include <iostream>
#include <variant>

#include "cli/standard_options.h"
#include "ionplot/csv.h"
#include "ionplot/options.h"
#include "ionplot/spectrum_map.h"

namespace {

using Plot = std::variant<ionplot::CurvePlot, ionplot::HeatMap>;

Plot build(const ionplot::Options& o) {
  switch (o.kind) {
    case ionplot::Kind::blocking:
      return ionplot::blocking_plot(o.sources, o.by);
    case ionplot::Kind::hitting:
      return ionplot::hitting_plot(o.sources);
    case ionplot::Kind::skew:
      return ionplot::skew_plot(o.sources);
    case ionplot::Kind::rfactor:
      return ionplot::rfactor_plot(o.sources.front());
    case ionplot::Kind::spectrum:
      return ionplot::spectrum_map(o.sources.front());
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "ionplot")) return *answered;
  std::signal(SIGPIPE, SIG_IGN);  // a gnuplot that dies early is reported by its exit status
  try {
    const ionplot::Options o = ionplot::parse_options({argv + 1, argv + argc});
    const Plot plot = build(o);
    std::visit(
        [&](const auto& p) {
          if (o.csv) ionplot::write_text_file(*o.csv, ionplot::csv_text(p));
          ionplot::draw(ionplot::gnuplot_script(p, o.picture), o.picture.output);
        },
        plot);
    std::cout << "ionplot: wrote " << o.picture.output << (o.csv ? " and " + *o.csv : "") << '\n';
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "ionplot: " << error.what() << '\n';
    return 1;
  }
}
