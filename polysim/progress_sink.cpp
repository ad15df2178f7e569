// The console progress of an embedded simulation.
#include "polysim/progress_sink.h"

#include "polysim/status_file.h"
#include "textio/free_writer.h"

namespace polysim {

void ConsoleProgress::shadowing_starts(const PreparedRun& /*run*/) {
  console_ << free_line("Starting shadowing....") << '\n';
}

void ConsoleProgress::blocking_angle_starts(std::int32_t j) {
  textio::FreeLine line;
  line << "Starting blocking angle :" << j;
  console_ << free_line(line) << '\n';
}

}  // namespace polysim
