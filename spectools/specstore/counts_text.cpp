// Reading and writing counts as text.
#include "spectools/specstore/counts_text.h"

#include <climits>
#include <sstream>

#include "spectools/specstore/typed_values.h"
#include "zq/types.h"

namespace specstore {
namespace {

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> tokens;
  std::istringstream words(line);
  std::string word;
  while (words >> word) tokens.push_back(word);
  return tokens;
}

[[noreturn]] void fail(const std::string& source, long long line, const std::string& problem) {
  throw TextError(source + ", line " + std::to_string(line) + ": " + problem);
}

}  // namespace

CountsTable read_counts(std::istream& in, const std::string& source, int type,
                        bool two_dimensional) {
  CountsTable table;
  std::size_t per_line = 0;
  long long lines = 0;
  long long first_blank = 0;  // first of the blank lines since the last counts, if any
  std::string line;
  for (long long number = 1; std::getline(in, line); ++number) {
    const std::vector<std::string> tokens = split(line);
    if (tokens.empty()) {
      if (first_blank == 0) first_blank = number;
      continue;
    }
    if (first_blank != 0) fail(source, first_blank, "no counts on the line");
    if (lines == 0) per_line = tokens.size();
    if (tokens.size() != per_line) {
      fail(source, number,
           std::to_string(tokens.size()) + " counts where the first line has " +
               std::to_string(per_line));
    }
    for (const std::string& token : tokens) {
      const std::optional<double> value = parse_value(token, type);
      if (!value) {
        fail(source, number, "'" + token + "' is not a count of type " + zq::type_name(type));
      }
      table.values.push_back(*value);
    }
    ++lines;
  }
  if (lines == 0) throw TextError(source + ": no counts");
  if (lines > INT_MAX || per_line > INT_MAX) throw TextError(source + ": too many counts");
  table.dim = two_dimensional || per_line > 1 ? 2 : 1;
  if (table.dim == 1) {
    table.range1 = static_cast<int>(lines);
  } else {
    table.range1 = static_cast<int>(per_line);
    table.range2 = static_cast<int>(lines);
  }
  return table;
}

std::string format_counts(const std::vector<double>& values, int per_line, int type) {
  const std::size_t width = per_line > 0 ? static_cast<std::size_t>(per_line) : 1;
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += format_value(values[i], type);
    text += (i + 1) % width == 0 ? '\n' : ' ';
  }
  return text;
}

}  // namespace specstore
