// The main sequence of a polysim run: status header, fixed tables, input, seed, models, the
// shadowing run, one blocking run per detection angle, the result files and the completion
// line.
#include "polysim/run_polysim.h"

#include <stdexcept>

#include "engine/fixed_tables.h"
#include "engine/random_generator.h"
#include "engine/run_seed.h"
#include "polysim/input_reader.h"
#include "polysim/input_values.h"
#include "polysim/ion_run_driver.h"
#include "polysim/method_warnings.h"
#include "polysim/plausibility_report.h"
#include "polysim/prepare_models.h"
#include "polysim/result_names.h"
#include "polysim/result_writer.h"
#include "polysim/status_file.h"
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

// Everything that would stop the run later is refused before any ion runs: the model data,
// the geometry, an overlayer too dense to cross, and a root cut too far right to take the
// result numbers.
void prepare(SimulationInput& input, const engine::FixedTables& tables, const RunFiles& files,
             int name_column, StatusFile& status) {
  try {
    prepare_models(input.crystal, input.models, input.beam, tables);
    check_run_geometry(input, tables.pi, tables.deg_to_rad);
    check_overlayer_collisions(input, tables.pi, tables.deg_to_rad);
    result_path(files.output_root, name_column, 1);
  } catch (const InvalidInput& why) {
    abort_invalid_input(status, why);
  } catch (const std::out_of_range& why) {
    abort_invalid_input(status, InvalidInput(std::string("Output root: ") + why.what()));
  }
}

void run_ions(SimulationInput& input, IonRunDriver& driver, RunResults& results,
              StatusFile& status) {
  driver.prepare_shadowing();
  for (const std::string& warning : method_warnings(input, driver.interaction_radii()))
    status.write_group({stamped_line(warning)});
  status.write_group({stamped_line("  Starting shadowing calculation")});
  driver.run_shadowing(results);
  const auto angles = static_cast<std::int32_t>(input.beam.detection_angles.size());
  status.write_group({stamped_count_line("  Starting blocking calculations:", angles, " angles")});
  report_implausible_hits(results, status);
  for (std::int32_t j = 1; j <= angles; ++j) {
    driver.run_blocking(j, results);
    status.write_group({stamped_count_line("  Finished blocking angle  ", j)});
  }
  results.total_ions = driver.total_ions();
  results.overlayer_deflection_sum = driver.overlayer_deflection_sum();
}

}  // namespace

void run_polysim(const RunFiles& files, std::ostream& console) {
  const StatusName status_name = build_status_path(files.output_root);
  StatusFile status(status_name.path, console);
  write_status_header(status, files.input_path, files.output_root);
  const engine::FixedTables tables = engine::build_fixed_tables();
  SimulationInput input = read_simulation_input(files.input_path, status);
  engine::RandomGenerator generator;
  engine::seed_from_environment_or_clock(generator);
  prepare(input, tables, files, status_name.name_column, status);
  RunResults results(static_cast<std::int32_t>(input.crystal.atoms.size()),
                     input.models.structure_count, input.models.vibration_count,
                     static_cast<std::int32_t>(input.beam.detection_angles.size()));
  IonRunDriver driver(input, tables, generator);
  try {
    run_ions(input, driver, results, status);
  } catch (const InvalidInput& why) {
    abort_invalid_input(status, why);
  }
  write_result_files(
      input, results, status,
      {files.input_path, files.output_root, status_name.name_column, tables.deg_to_rad});
  textio::FreeLine done;
  done << "-----------------"
       << " JOB SUCCESSFULLY COMPLETED"
       << " -----------------";
  status.write_group({free_line(done)});
}

}  // namespace polysim
