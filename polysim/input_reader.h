// Reading of the simulation input file, group by group, with its progress lines and its
// failure paths.
#pragma once

#include <string_view>

#include "polysim/input_checks.h"
#include "polysim/simulation_input.h"
#include "polysim/status_lines.h"

namespace polysim {

// Reads the whole simulation input file. Writes "Readin crystal" to the console and the
// comment and "Reading multimodel parameters" lines as one group to `status`.
// Throws JobAborted after writing the abort block (file not opened, invalid option flags,
// counts or indices out of range, counts the file cannot hold, values outside their physical
// range), textio::ReadError for a malformed or short file.
SimulationInput read_simulation_input(std::string_view input_path, StatusLines& status,
                                      double available_bytes = physical_memory_bytes());

// Input whose values would reach outside a table: writes the abort block naming the value
// (a dash line, the reason, "- Job aborted") as one group to `status`, then throws
// JobAborted.
[[noreturn]] void abort_invalid_input(StatusLines& status, const InvalidInput& why);

}  // namespace polysim
