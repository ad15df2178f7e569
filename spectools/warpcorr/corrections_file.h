// The optional corrections file of warpcorr and stepcorr: up to 163 row corrections that
// replace the built-in ones, in column order.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

#include "spectools/warpcorr/row_tables.h"

namespace spectools::distortion {

// A corrections file that cannot be opened or read. what() is the whole line for the error
// stream: "Couldn't open corrections file: <system text>\n".
class CorrectionsFileError : public std::runtime_error {
 public:
  explicit CorrectionsFileError(int error_number);
};

// Reads integers as successive "%d" conversions into corrections[0], [1], ... and stops at
// the 163rd, at the end of the file, or at the first text that is not a decimal integer
// within the int range; entries not reached keep their values. Returns how many were read.
int scan_corrections(std::FILE* file, RowTable& corrections);

// Opens `path` and scans it as above; throws CorrectionsFileError when the file cannot be
// opened or a read fails.
int read_corrections_file(const std::string& path, RowTable& corrections);

}  // namespace spectools::distortion
