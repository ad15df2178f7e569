// Reading of the description file into entries, and typed access with line-numbered errors.
#include "slabgen/description.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace slabgen {

namespace {

std::string trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return std::string(s.substr(first, last - first + 1));
}

std::vector<std::string> split(std::string_view s, std::string_view separators) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < s.size()) {
    const auto start = s.find_first_not_of(separators, at);
    if (start == std::string_view::npos) break;
    auto end = s.find_first_of(separators, start);
    if (end == std::string_view::npos) end = s.size();
    words.emplace_back(s.substr(start, end - start));
    at = end;
  }
  return words;
}

}  // namespace

Description Description::parse(std::string_view text, std::string source) {
  Description d;
  d.source_ = std::move(source);
  int line_number = 0;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    ++line_number;
    const std::string content = trim(line.substr(0, line.find('#')));
    if (content.empty()) continue;
    const auto equals = content.find('=');
    Entry e;
    e.line = line_number;
    if (equals == std::string::npos) d.fail(e, "expected 'key = value', found '" + content + "'");
    const std::vector<std::string> key = split(content.substr(0, equals), " \t");
    if (key.empty()) d.fail(e, "no key before '='");
    e.key = key.front();
    e.qualifiers.assign(key.begin() + 1, key.end());
    e.text = trim(content.substr(equals + 1));
    e.words = split(e.text, " \t,");
    d.entries_.push_back(std::move(e));
  }
  return d;
}

Description Description::read_file(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw DescriptionError(path + ": cannot open the description file");
  std::stringstream text;
  text << in.rdbuf();
  return parse(text.str(), path);
}

const Entry* Description::find(std::string_view key) const {
  const Entry* found = nullptr;
  for (const Entry& e : entries_) {
    if (e.key != key || !e.qualifiers.empty()) continue;
    if (found != nullptr)
      fail(e, "'" + e.key + "' is given twice (first on line " + std::to_string(found->line) + ")");
    found = &e;
  }
  return found;
}

std::vector<const Entry*> Description::all(std::string_view key) const {
  std::vector<const Entry*> out;
  for (const Entry& e : entries_)
    if (e.key == key) out.push_back(&e);
  return out;
}

void Description::check_keys(const std::vector<std::string_view>& known) const {
  for (const Entry& e : entries_)
    if (std::find(known.begin(), known.end(), e.key) == known.end())
      fail(e, "unknown key '" + e.key + "'");
}

void Description::fail(const Entry& at, const std::string& problem) const {
  throw DescriptionError(source_ + ", line " + std::to_string(at.line) + ": " + problem);
}

void Description::fail(const std::string& problem) const {
  throw DescriptionError(source_ + ": " + problem);
}

double Description::number(const Entry& e, std::size_t word) const {
  if (word >= e.words.size()) fail(e, "'" + e.key + "' needs a number");
  const std::string& w = e.words[word];
  double value = 0.0;
  const auto [end, error] = std::from_chars(w.data(), w.data() + w.size(), value);
  if (error != std::errc() || end != w.data() + w.size() || !std::isfinite(value))
    fail(e, "cannot read '" + w + "' as a number for '" + e.key + "'");
  return value;
}

int Description::integer(const Entry& e, std::size_t word) const {
  const double value = number(e, word);
  if (value != std::floor(value) || std::fabs(value) > 1.0e6)
    fail(e, "'" + e.key + "' needs a whole number, found '" + e.words[word] + "'");
  return static_cast<int>(value);
}

std::vector<double> Description::numbers(const Entry& e, std::size_t first) const {
  std::vector<double> values;
  for (std::size_t w = first; w < e.words.size(); ++w) values.push_back(number(e, w));
  if (values.empty()) fail(e, "'" + e.key + "' needs a list of numbers");
  return values;
}

}  // namespace slabgen
