// The main sequence of a polysim run: status header, fixed tables, input, seed, models.
#include "polysim/run_polysim.h"

#include "engine/fixed_tables.h"
#include "engine/random_generator.h"
#include "engine/run_seed.h"
#include "polysim/input_reader.h"
#include "polysim/prepare_models.h"
#include "polysim/status_file.h"

namespace polysim {

void run_polysim(const RunFiles& files, std::ostream& console) {
  StatusFile status(build_status_path(files.output_root).path, console);
  write_status_header(status, files.input_path, files.output_root);
  const engine::FixedTables tables = engine::build_fixed_tables();
  SimulationInput input = read_simulation_input(files.input_path, status);
  engine::RandomGenerator generator;
  engine::seed_from_environment_or_clock(generator);
  try {
    prepare_models(input.crystal, input.models, input.beam, tables);
  } catch (const InvalidInput& why) {
    abort_invalid_input(status, why);
  }
}

}  // namespace polysim
