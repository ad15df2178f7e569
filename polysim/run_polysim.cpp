// The main sequence of a polysim run: status header, seed, fixed tables, input, preparation,
// the simulation (shadowing run and blocking runs), the result files and the completion line.
#include "polysim/run_polysim.h"

#include <exception>
#include <iostream>
#include <stdexcept>

#include "engine/fixed_tables.h"
#include "engine/run_seed.h"
#include "polysim/input_reader.h"
#include "polysim/prepared_run.h"
#include "polysim/result_names.h"
#include "polysim/result_writer.h"
#include "polysim/run_errors.h"
#include "polysim/simulate.h"
#include "polysim/status_file.h"
#include "polysim/status_progress.h"
#include "textio/free_writer.h"

namespace polysim {

namespace {

// Everything that would stop the run later is refused before any ion runs: the model data,
// the geometry, an overlayer too dense to cross, and a root cut too far right to take the
// result numbers.
PreparedRun prepare(const SimulationInput& input, const engine::FixedTables& tables,
                    const RunFiles& files, int name_column, StatusFile& status) {
  try {
    PreparedRun run = prepare_run(input, tables);
    result_path(files.output_root, name_column, 1);
    return run;
  } catch (const InvalidInput& why) {
    abort_invalid_input(status, why);
  } catch (const std::out_of_range& why) {
    abort_invalid_input(status, InvalidInput(std::string("Output root: ") + why.what()));
  }
}

// The run seed, of IONBEAM_SEED or of the clock, in its stamped line after the header.
std::int64_t announce_seed(StatusFile& status) {
  const std::int64_t seed = engine::run_seed();
  textio::FreeLine line;
  line << date_stamp() + "  Random seed:" << seed;
  status.write_group({free_line(line)});
  return seed;
}

}  // namespace

void run_polysim(const RunFiles& files, std::ostream& console) {
  LocalSimulator local;
  run_polysim(files, console, local);
}

void run_polysim(const RunFiles& files, std::ostream& console, Simulator& simulator) {
  const StatusName status_name = build_status_path(files.output_root);
  StatusFile status(status_name.path, console);
  write_status_header(status, files.input_path, files.output_root);
  const SimulationOptions options{announce_seed(status)};
  const engine::FixedTables tables = engine::build_fixed_tables();
  const SimulationInput input = read_simulation_input(files.input_path, status);
  const PreparedRun run = prepare(input, tables, files, status_name.name_column, status);
  StatusProgress progress(status);
  const RunResults results = simulator.simulate(files.input_path, run, tables, options, progress);
  write_result_files(run.input, results, status,
                     {files.input_path, files.output_root, status_name.name_column,
                      tables.deg_to_rad, options.seed});
  textio::FreeLine done;
  done << "-----------------"
       << " JOB SUCCESSFULLY COMPLETED"
       << " -----------------";
  status.write_group({free_line(done)});
}

int run_polysim_program(std::ostream& console, Simulator& simulator) {
  constexpr const char* kStopLine = "Stop - Program terminated.";
  try {
    run_polysim(read_run_files(), console, simulator);
    console << kStopLine << '\n';
    return 0;
  } catch (const JobAborted&) {
    console << kStopLine << '\n';
  } catch (const std::exception& error) {
    console.flush();
    std::cerr << "polysim: " << error.what() << '\n';
  }
  return 1;
}

}  // namespace polysim
