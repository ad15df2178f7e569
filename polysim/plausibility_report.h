// The report of hitting probabilities above 5 after the shadowing run: such a value means
// the statistics of the run failed; it is reported and kept.
#pragma once

#include "polysim/run_results.h"
#include "polysim/status_file.h"

namespace polysim {

// For every implausible value, atoms outermost: a dash line, the value and where it stands,
// to the console first and then to the status file, whose value line has no blank between
// its text and the number's field.
void report_implausible_hits(const RunResults& results, StatusFile& status);

}  // namespace polysim
