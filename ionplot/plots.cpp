// Curves from result, skew and R-factor files.
#include "ionplot/plots.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ionplot/result_file.h"

namespace ionplot {

namespace {

std::string file_name(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::vector<double> one_to(std::size_t n) {
  std::vector<double> x;
  for (std::size_t i = 1; i <= n; ++i) x.push_back(static_cast<double>(i));
  return x;
}

}  // namespace

std::vector<std::vector<double>> read_number_rows(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw PlotError(path + ": cannot open the file");
  std::vector<std::vector<double>> rows;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    std::istringstream words(line);
    std::vector<double> row;
    std::string word;
    while (words >> word) {
      std::size_t used = 0;
      try {
        row.push_back(std::stod(word, &used));
      } catch (const std::exception&) {
        used = 0;
      }
      if (used != word.size())
        throw PlotError(path + ", line " + std::to_string(number) + ": '" + word +
                        "' is not a number");
    }
    if (!row.empty()) rows.push_back(row);
  }
  if (rows.empty()) throw PlotError(path + ": no numbers");
  return rows;
}

CurvePlot blocking_plot(const std::vector<std::string>& result_files, Breakdown by) {
  CurvePlot p{"Blocking",
              "Scattering angle (degree)",
              "Blocked yield (monolayers)",
              "angle_deg",
              "yield_ml",
              {}};
  for (const std::string& path : result_files) {
    const ResultCurves c = read_result_file(path);
    // One file: its name goes to the title, the legend names the types or layers alone.
    const std::string prefix = result_files.size() > 1 ? c.label + " " : "";
    if (result_files.size() == 1 && by != Breakdown::total) p.title += ": " + c.label;
    if (by == Breakdown::total) p.series.push_back({c.label, c.angles, c.total});
    if (by == Breakdown::element)
      for (std::size_t t = 0; t < c.elements.size(); ++t)
        p.series.push_back({c.label + " type " + std::to_string(t + 1) +
                                " (Z = " + std::to_string(c.type_z[t]) + ")",
                            c.angles, c.elements[t]});
    if (by == Breakdown::layer)
      for (std::size_t l = 0; l < c.layers.size(); ++l)
        p.series.push_back({prefix + "layer " + std::to_string(l + 1), c.angles, c.layers[l]});
  }
  return p;
}

CurvePlot hitting_plot(const std::vector<std::string>& result_files) {
  CurvePlot p{"Shadowing", "Layer", "Hitting probability (monolayers)", "layer", "hitting_ml", {}};
  for (const std::string& path : result_files) {
    const ResultCurves c = read_result_file(path);
    p.series.push_back({c.label, one_to(c.layer_hitting.size()), c.layer_hitting});
  }
  return p;
}

CurvePlot skew_plot(const std::vector<std::string>& skew_files) {
  CurvePlot p{"Measured and simulated blocking",
              "Exit angle (degree)",
              "Intensity",
              "angle_deg",
              "intensity",
              {}};
  for (const std::string& path : skew_files) {
    Series measured{file_name(path) + " measured", {}, {}, true};
    Series simulated{file_name(path) + " simulated", {}, {}, false};
    for (const auto& row : read_number_rows(path)) {
      if (row.size() < 3) throw PlotError(path + ": a skew file line holds at least 3 numbers");
      measured.x.push_back(row[0]);
      measured.y.push_back(row[1]);
      simulated.x.push_back(row[0]);
      simulated.y.push_back(row[2]);
    }
    p.series.push_back(measured);
    p.series.push_back(simulated);
  }
  return p;
}

CurvePlot rfactor_plot(const std::string& rfactor_file) {
  const auto rows = read_number_rows(rfactor_file);
  CurvePlot p{
      "R-factor over the model points", "Model point", "R-factor", "model_point", "r_factor", {}};
  for (const auto& row : rows)
    if (row.size() != rows.front().size())
      throw PlotError(rfactor_file + ": the lines hold different numbers of values");
  for (std::size_t c = 0; c < rows.front().size(); ++c) {
    Series s{
        rows.front().size() == 1 ? file_name(rfactor_file) : "parameter " + std::to_string(c + 1),
        one_to(rows.size()),
        {}};
    for (const auto& row : rows) s.y.push_back(row[c]);
    p.series.push_back(s);
  }
  return p;
}

}  // namespace ionplot
