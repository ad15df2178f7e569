// structfit's embedded simulation under mpirun, as a fit makes it: for each output root, the
// simulation of one input file with one seed (run_simulation), rank 0 writing the short
// result files and the console lines. Usage: mpi_simulation_check SEED INPUT ROOT...
// With --sums instead of the roots: one simulation of INPUT, rank 0 printing the exact sums of
// every ion run (tally_print.h).
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "engine/fixed_tables.h"
#include "mpi/session.h"
#include "mpi/shared_ion_runs.h"
#include "mpi/workers.h"
#include "polysim/input_reader.h"
#include "polysim/prepared_run.h"
#include "polysim/progress_sink.h"
#include "structfit/run_simulation.h"
#include "tally_print.h"

namespace {

void print_sums(const mpi::Session& session, mpi::Workers& workers, std::int64_t seed,
                const std::string& input_path) {
  const engine::FixedTables tables = engine::build_fixed_tables();
  polysim::SilentStatusLines silent_lines;
  const polysim::PreparedRun run =
      polysim::prepare_run(polysim::read_simulation_input(input_path, silent_lines), tables);
  std::ifstream in(input_path);
  std::stringstream text;
  text << in.rdbuf();
  workers.simulate(text.str(), seed, [&] {
    mpi::SharedIonRuns shared(session);
    mpi_test::PrintedRuns printed(shared);
    polysim::SilentProgress silent;
    polysim::simulate(run, tables, {seed, 0}, silent, printed);
    std::cout << printed.text();
    return 0;
  });
}

int simulate_all(int argc, char** argv, const mpi::Session& session, mpi::Workers& workers,
                 mpi::SharedSimulator& simulator) {
  try {
    if (std::string(argv[3]) == "--sums") {
      print_sums(session, workers, std::stoll(argv[1]), argv[2]);
      return 0;
    }
    const std::int64_t seed = std::stoll(argv[1]);
    const engine::FixedTables tables = engine::build_fixed_tables();
    for (int k = 3; k < argc; ++k)
      structfit::run_simulation(argv[2], argv[k], tables, seed, std::cout, simulator);
    return 0;
  } catch (const std::exception& error) {
    std::cout << " structfit: " << error.what() << '\n';
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const mpi::Session session(argc, argv);
  if (!session.root()) {
    mpi::PolysimWorker worker;
    return mpi::serve(session, worker);
  }
  mpi::Workers workers(session);
  mpi::SharedSimulator simulator(session, workers);
  return mpi::end_job(session, workers, simulate_all(argc, argv, session, workers, simulator),
                      "structfit");
}
