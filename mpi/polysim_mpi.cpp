// polysim-mpi: polysim on the ranks of an MPI job (mpirun -np N polysim-mpi). Rank 0 reads
// "polysim1.io" and the input, writes the status and result files exactly as polysim does;
// the blocks of ions of every run are shared out among all ranks. See README.md.
#include <iostream>

#include "cli/standard_options.h"
#include "mpi/job.h"
#include "mpi/shared_ion_runs.h"
#include "polysim/run_polysim.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "polysim-mpi")) return *answered;
  return mpi::run_job<mpi::PolysimWorker>(
      argc, argv, "polysim", [](const mpi::Session& session, mpi::Workers& workers) {
        mpi::SharedSimulator simulator(session, workers);
        return polysim::run_polysim_program(std::cout, simulator);
      });
}
