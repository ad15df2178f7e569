// Reading of monosim's simulation input file: groups 1 to 14 with monosim's layouts of groups
// 2, 3, 7 and 8, its console lines, and the checks that keep every later table access and
// every derived quantity finite.
#pragma once

#include <stdexcept>
#include <string_view>

#include "monosim/mono_input.h"
#include "polysim/input_checks.h"
#include "polysim/status_lines.h"

namespace monosim {

// The run stopped on one of its own failure paths; its one message line is written.
class RunStopped : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The counts of `record` that monosim uses (N1 to N9), with one model pair and no model atoms
// or parameters in place of N10 to N19, which it reads and ignores.
polysim::DimensionRecord used_counts(const polysim::DimensionRecord& record);

// Reads the whole file. Writes "Arrays have been allocated" after the dimension record and
// "Input File has beed successfully read in" at the end to the console of `status`.
// Flags 7 or 8 not 0: writes "Wrong program" to the console and throws RunStopped. Throws
// polysim::FileError when the file cannot be opened, textio::ReadError for a malformed or
// short file, polysim::InvalidInput for counts or values outside their range (polysim's
// checks of the shared groups; amplitudes within 0.001..5 Å; with correlation on,
// |c| < 1 and a finite distance of at least 0).
MonoInput read_mono_input(std::string_view input_path, polysim::StatusLines& status,
                          double available_bytes = polysim::physical_memory_bytes());

}  // namespace monosim
