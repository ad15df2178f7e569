// monosim-mpi: monosim on the ranks of an MPI job (mpirun -np N monosim-mpi). Rank 0 reads
// "monosim1.io" and the input, writes out.status and the result file exactly as monosim does;
// the blocks of ions of every run are shared out among all ranks. See README.md.
#include <iostream>

#include "cli/standard_options.h"
#include "monosim/run_monosim.h"
#include "mpi/job.h"
#include "mpi/shared_mono_runs.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "monosim-mpi")) return *answered;
  return mpi::run_job<mpi::MonosimWorker>(
      argc, argv, "monosim", [](const mpi::Session& session, mpi::Workers& workers) {
        mpi::SharedMonoSimulator simulator(session, workers);
        return monosim::run_monosim_program(std::cout, simulator);
      });
}
