// Console and status lines of implausible hitting probabilities.
#include "polysim/plausibility_report.h"

#include "polysim/run_normalisation.h"
#include "textio/free_writer.h"

namespace polysim {

void report_implausible_hits(const RunResults& results, StatusFile& status) {
  for (const ImplausibleHit& hit : implausible_hits(results)) {
    textio::FreeLine where;
    where << "  For atom " << hit.atom << "  at vibration model " << hit.vibration
          << "  and structure model " << hit.structure;
    textio::FreeLine console_value, file_value;
    console_value << "Unfeasibly large hitting probability of " << hit.probability;
    file_value << "Unfeasibly large hitting probability of" << hit.probability;
    const std::string dashes = free_line("------------------------");
    status.write_console_only({dashes, free_line(console_value), free_line(where)});
    status.write_file_only({dashes, free_line(file_value), free_line(where)});
  }
}

}  // namespace polysim
