// Loader of the writers' reference files: one block per case, from "@case" to "@end", with
// reals given as the hexadecimal digits of their IEEE bits so that they come back exactly.
#include "writer_reference.h"

#include <bit>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <type_traits>

namespace textio_test {
namespace {

bool starts_with(const std::string& line, std::string_view key, std::string& rest) {
  if (line.compare(0, key.size(), key) != 0) return false;
  rest = line.substr(key.size());
  return true;
}

WriterItem parse_item(const std::string& line) {
  std::string rest;
  if (starts_with(line, "@i4 ", rest)) return static_cast<std::int32_t>(std::stol(rest));
  if (starts_with(line, "@i8 ", rest)) return static_cast<std::int64_t>(std::stoll(rest));
  if (starts_with(line, "@r4 ", rest)) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(std::stoul(rest, nullptr, 16)));
  }
  if (starts_with(line, "@r8 ", rest)) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(std::stoull(rest, nullptr, 16)));
  }
  if (starts_with(line, "@a ", rest)) return rest;
  throw std::runtime_error("unexpected line in reference file: " + line);
}

}  // namespace

std::vector<WriterCase> load_writer_cases(const std::string& file_name) {
  const std::string path = (std::filesystem::path(IONBEAM_TEST_DATA) / file_name).string();
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::vector<WriterCase> cases;
  std::string line, rest;
  while (std::getline(in, line)) {
    if (!starts_with(line, "@case ", rest)) throw std::runtime_error("expected @case: " + line);
    WriterCase c;
    c.name = rest;
    while (std::getline(in, line) && line != "@output") {
      if (starts_with(line, "@format ", rest)) {
        c.format = rest;
      } else {
        c.items.push_back(parse_item(line));
      }
    }
    while (std::getline(in, line) && line != "@end") c.output += line + '\n';
    if (line != "@end") throw std::runtime_error("case " + c.name + " has no @end");
    cases.push_back(std::move(c));
  }
  return cases;
}

std::vector<textio::Value> as_values(const std::vector<WriterItem>& items) {
  std::vector<textio::Value> values;
  for (const WriterItem& item : items) {
    std::visit(
        [&](const auto& v) {
          using Item = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<Item, std::string>) {
            values.emplace_back(std::string_view(v));
          } else if constexpr (std::is_same_v<Item, std::int64_t>) {
            throw std::runtime_error("formats take no 64-bit integers");
          } else {
            values.emplace_back(v);
          }
        },
        item);
  }
  return values;
}

}  // namespace textio_test
