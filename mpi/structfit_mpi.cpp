// structfit-mpi: structfit on the ranks of an MPI job (mpirun -np N structfit-mpi). Rank 0
// reads "bfgsin.dat", runs the fit and writes every log, result and skew file exactly as
// structfit does; the blocks of ions of every embedded simulation are shared out among all
// ranks. See README.md.
#include <iostream>

#include "cli/standard_options.h"
#include "mpi/job.h"
#include "mpi/shared_ion_runs.h"
#include "structfit/fit_program.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "structfit-mpi")) return *answered;
  return mpi::run_job<mpi::PolysimWorker>(
      argc, argv, "structfit", [&](const mpi::Session& session, mpi::Workers& workers) {
        mpi::SharedSimulator simulator(session, workers);
        return structfit::run_structfit_program(argc, argv, std::cout, simulator);
      });
}
