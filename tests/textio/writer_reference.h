// Reference cases for the writers, as a Fortran runtime wrote them
// (data/make_format_expected.f90 writes data/format_expected.txt and data/free_expected.txt).
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "textio/format_writer.h"

namespace textio_test {

using WriterItem = std::variant<std::int32_t, std::int64_t, float, double, std::string>;

struct WriterCase {
  std::string name;
  std::string format;  // empty for free-form cases
  std::vector<WriterItem> items;
  std::string output;  // the lines written, each ending in '\n'
};

// Reads data/<file_name>; throws std::runtime_error if the file is missing or malformed.
std::vector<WriterCase> load_writer_cases(const std::string& file_name);

// The items as values for Format::write; the texts stay owned by `items`. Throws
// std::runtime_error for a 64-bit integer, which only free-form lines take.
std::vector<textio::Value> as_values(const std::vector<WriterItem>& items);

}  // namespace textio_test
