// CSV writing: numbers with up to nine significant digits, names quoted when they hold a
// comma or a quote.
#include "ionplot/csv.h"

#include <fstream>
#include <sstream>

namespace ionplot {

namespace {

std::string field(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char ch : text) out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
  return out + "\"";
}

}  // namespace

std::string csv_text(const CurvePlot& plot) {
  std::ostringstream s;
  s.precision(9);
  s << "series," << plot.x_column << "," << plot.y_column << "\n";
  for (const Series& series : plot.series)
    for (std::size_t k = 0; k < series.x.size(); ++k)
      s << field(series.name) << "," << series.x[k] << "," << series.y[k] << "\n";
  return s.str();
}

std::string csv_text(const HeatMap& map) {
  std::ostringstream s;
  s.precision(9);
  s << map.x_column << "," << map.y_column << ",counts\n";
  for (std::size_t j = 0; j < map.y.size(); ++j)
    for (std::size_t i = 0; i < map.x.size(); ++i)
      s << map.x[i] << "," << map.y[j] << "," << map.z[j * map.x.size() + i] << "\n";
  return s.str();
}

void write_text_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw PlotError("cannot write " + path);
}

}  // namespace ionplot
