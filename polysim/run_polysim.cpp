// The main sequence of a polysim run: status header, input, models.
#include "polysim/run_polysim.h"

#include "polysim/input_reader.h"
#include "polysim/status_file.h"

namespace polysim {

void run_polysim(const RunFiles& files, std::ostream& console) {
  StatusFile status(build_status_path(files.output_root).path, console);
  write_status_header(status, files.input_path, files.output_root);
  const SimulationInput input = read_simulation_input(files.input_path, status);
}

}  // namespace polysim
