// Loader of data/reader_expected.txt: one block per case, "case" to "end".
#include "reader_reference.h"

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace textio_test {
namespace {

// '|' = end of line, '^' = tab, '~' = carriage return.
std::string decode(std::string_view encoded) {
  std::string text;
  for (const char c : encoded) {
    text += c == '|' ? '\n' : c == '^' ? '\t' : c == '~' ? '\r' : c;
  }
  return text;
}

std::string after(const std::string& line, std::string_view key) {
  if (line.compare(0, key.size(), key) != 0) {
    throw std::runtime_error("reader_expected.txt: expected '" + std::string(key) +
                             "' in: " + line);
  }
  return line.substr(key.size());
}

// "ok i=1 r=123:1.5 c=[text with blanks]" -> {"i=1", "r=123", "c=[text with blanks]"}.
std::vector<std::string> split_items(const std::string& list) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  while (pos < list.size()) {
    if (list[pos] == ' ') {
      ++pos;
    } else if (list.compare(pos, 3, "c=[") == 0) {
      const std::size_t close = list.find(']', pos);
      items.push_back(list.substr(pos, close + 1 - pos));
      pos = close + 1;
    } else {
      std::size_t end = list.find(' ', pos);
      if (end == std::string::npos) end = list.size();
      std::string item = list.substr(pos, end - pos);
      if (item[0] == 'r') item = item.substr(0, item.find(':'));
      items.push_back(item);
      pos = end;
    }
  }
  return items;
}

}  // namespace

std::vector<ReferenceCase> load_reference_cases(bool fixed) {
  std::ifstream in(std::filesystem::path(IONBEAM_TEST_DATA) / "reader_expected.txt");
  std::vector<ReferenceCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    ReferenceCase c;
    c.name = after(line, "case ");
    std::getline(in, line);
    const std::string kind = after(line, "kind ");
    c.fixed = kind.compare(0, 5, "fixed") == 0;
    if (c.fixed) c.format = kind.substr(6);
    std::getline(in, line);
    c.shape = after(line, "shape ");
    std::getline(in, line);
    c.input = decode(after(line, "input "));
    std::getline(in, line);
    c.ok = line.compare(0, 2, "ok") == 0;
    if (c.ok) {
      c.items = split_items(line.substr(2));
    } else {
      c.error_line = std::stoi(after(line, "error "));
    }
    std::getline(in, line);
    after(line, "end");
    if (c.fixed == fixed) cases.push_back(c);
  }
  return cases;
}

std::string integer_token(int value) {
  return "i=" + std::to_string(value);
}

std::string real_token(float value) {
  return "r=" + std::to_string(std::bit_cast<std::int32_t>(value));
}

std::string text_token(const std::string& value) {
  return "c=[" + value + "]";
}

std::vector<std::string> shape_operations(const std::string& shape) {
  std::vector<std::string> ops;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = shape.find(';', start);
    ops.push_back(shape.substr(start, end - start));
    if (end == std::string::npos) return ops;
    start = end + 1;
  }
}

}  // namespace textio_test
