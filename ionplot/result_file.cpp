// Reading a result file by its section headers; the tables are read as number streams so
// that rows continued on further lines (more than six types or layers) read alike.
#include "ionplot/result_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ionplot/plot.h"

namespace ionplot {

namespace {

using Lines = std::vector<std::string>;

bool blank(const std::string& line) {
  return line.find_first_not_of(" \t\r") == std::string::npos;
}

// The numbers of a line, or nothing if any word is not a number.
bool numbers_of(const std::string& line, std::vector<double>& out) {
  std::istringstream words(line);
  std::string word;
  std::vector<double> found;
  while (words >> word) {
    try {
      std::size_t used = 0;
      found.push_back(std::stod(word, &used));
      if (used != word.size()) return false;
    } catch (const std::exception&) {
      return false;
    }
  }
  out.insert(out.end(), found.begin(), found.end());
  return !found.empty();
}

std::size_t find_line(const Lines& lines, const std::vector<std::string>& marks) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    for (const std::string& m : marks)
      if (lines[i].find(m) != std::string::npos) return i;
  return lines.size();
}

// The table after the header line `at`: skips the header's remaining lines, then reads rows
// of `columns` numbers each (angle, total, then one per type or layer) up to a blank line.
std::vector<std::vector<double>> table_after(const Lines& lines, std::size_t at,
                                             std::size_t columns) {
  std::size_t i = at + 1;
  std::vector<double> values;
  while (i < lines.size() && (blank(lines[i]) || !numbers_of(lines[i], values))) ++i;
  for (++i; i < lines.size() && !blank(lines[i]) && numbers_of(lines[i], values); ++i) {
  }
  std::vector<std::vector<double>> rows;
  for (std::size_t r = 0; r + columns <= values.size(); r += columns)
    rows.emplace_back(values.begin() + r, values.begin() + r + columns);
  return rows;
}

// The number after the text `mark` on the first line holding it, e.g. the layer count in
// "Summed hitting probability(  8 layers)".
int count_after(const Lines& lines, const std::string& mark) {
  const std::size_t at = find_line(lines, {mark});
  if (at == lines.size()) return -1;
  return std::atoi(lines[at].c_str() + lines[at].find(mark) + mark.size());
}

std::vector<int> type_numbers(const Lines& lines) {
  std::vector<int> z;
  for (std::size_t i = find_line(lines, {"Atom-type  atomic number"}) + 1; i < lines.size(); ++i) {
    std::vector<double> v;
    if (blank(lines[i]) || !numbers_of(lines[i], v) || v.size() != 3) break;
    z.push_back(static_cast<int>(v[1]));
  }
  return z;
}

// "name = value" lines after "Structure model ..., corresponding to:" and its vibration twin.
std::string model_text(const Lines& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find("corresponding to:") == std::string::npos) continue;
    for (std::size_t j = i + 1; j < lines.size() && lines[j].rfind(" - ", 0) == 0; ++j) {
      const std::string& l = lines[j];
      const std::size_t eq = l.find(" = ");
      if (eq == std::string::npos) continue;
      std::string name = l.substr(3, eq - 3);
      name.erase(name.find_last_not_of(' ') + 1);
      char value[32];
      std::snprintf(value, sizeof value, "%g", std::atof(l.c_str() + eq + 3));
      if (!text.empty()) text += ", ";
      text += name + " = " + value;
    }
  }
  return text;
}

std::vector<std::vector<double>> columns_of(const std::vector<std::vector<double>>& rows,
                                            std::size_t count) {
  std::vector<std::vector<double>> out(count);
  for (const auto& r : rows)
    for (std::size_t c = 0; c < count; ++c) out[c].push_back(r[c + 2]);
  return out;
}

}  // namespace

ResultCurves read_result_file(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw PlotError(path + ": cannot open the result file");
  Lines lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ResultCurves c;
  c.type_z = type_numbers(lines);
  const int layers = count_after(lines, "Summed hitting probability(");
  const std::size_t by_type = find_line(lines, {"Total signal Elements", "Yield per element"});
  const std::size_t by_layer = find_line(lines, {"Total signal Layers", "Yield per layer"});
  if (c.type_z.empty() || layers < 1 || by_type == lines.size() || by_layer == lines.size())
    throw PlotError(path + ": not a polysim or monosim result file");
  const auto type_rows = table_after(lines, by_type, 2 + c.type_z.size());
  const auto layer_rows = table_after(lines, by_layer, 2 + static_cast<std::size_t>(layers));
  if (type_rows.empty() || type_rows.size() != layer_rows.size())
    throw PlotError(path + ": the blocking tables are incomplete");
  for (const auto& r : type_rows) {
    c.angles.push_back(r[0]);
    c.total.push_back(r[1]);
  }
  c.elements = columns_of(type_rows, c.type_z.size());
  c.layers = columns_of(layer_rows, static_cast<std::size_t>(layers));
  for (const std::string& l : lines)
    if (l.find("Hitting probability of layer") != std::string::npos)
      c.layer_hitting.push_back(std::atof(l.c_str() + l.rfind('=') + 1));
  const std::string models = model_text(lines);
  c.label = std::filesystem::path(path).filename().string() + (models.empty() ? "" : ": " + models);
  return c;
}

}  // namespace ionplot
