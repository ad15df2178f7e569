// Reference cases for the readers, as the list-directed and formatted READ of a Fortran
// compiler resolved them (data/make_reader_expected.f90 writes data/reader_expected.txt).
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace textio_test {

struct ReferenceCase {
  std::string name;
  bool fixed = false;
  std::string format;  // fixed cases only
  std::string shape;   // operations separated by ';', one letter per item (i, r, c, k, L)
  std::string input;   // decoded file contents
  bool ok = false;
  std::vector<std::string> items;  // expected "i=<v>", "r=<IEEE bits>", "c=[<text>]"
  int error_line = 0;
};

std::vector<ReferenceCase> load_reference_cases(bool fixed);

// Names the case in test output.
inline void PrintTo(const ReferenceCase& c, std::ostream* os) {
  *os << c.name;
}

// Item tokens in the reference form, for comparison with ReferenceCase::items.
std::string integer_token(int value);
std::string real_token(float value);
std::string text_token(const std::string& value);

// Splits a shape into its operations.
std::vector<std::string> shape_operations(const std::string& shape);

}  // namespace textio_test
