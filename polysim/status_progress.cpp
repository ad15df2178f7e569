// Status lines of the ion runs of polysim.
#include "polysim/status_progress.h"

#include <string>
#include <string_view>

#include "polysim/method_warnings.h"
#include "polysim/plausibility_report.h"
#include "polysim/prepared_run.h"
#include "textio/free_writer.h"

namespace polysim {

namespace {

std::string stamped_count_line(std::string_view text, std::int32_t count,
                               std::string_view after = {}) {
  textio::FreeLine line;
  line << date_stamp() + std::string(text) << count;
  if (!after.empty()) line << after;
  return free_line(line);
}

}  // namespace

void StatusProgress::shadowing_starts(const PreparedRun& run) {
  for (const std::string& warning : method_warnings(run.input, run.interaction_radii()))
    status_.write_group({stamped_line(warning)});
  status_.write_group({stamped_line("  Starting shadowing calculation")});
}

void StatusProgress::shadowing_done(const PreparedRun& run, const RunResults& results) {
  const auto angles = static_cast<std::int32_t>(run.input.beam.detection_angles.size());
  status_.write_group({stamped_count_line("  Starting blocking calculations:", angles, " angles")});
  report_implausible_hits(results, status_);
}

void StatusProgress::blocking_angle_done(std::int32_t j) {
  status_.write_group({stamped_count_line("  Finished blocking angle  ", j)});
}

}  // namespace polysim
