// polysim-mpi: polysim on the ranks of an MPI job (mpirun -np N polysim-mpi). Rank 0 reads
// "polysim1.io" and the input, writes the status and result files exactly as polysim does;
// the blocks of ions of every run are shared out among all ranks. See README.md.
#include <exception>
#include <iostream>

#include "mpi/session.h"
#include "mpi/shared_ion_runs.h"
#include "mpi/workers.h"
#include "polysim/run_polysim.h"

namespace {

int run_rank_0(const mpi::Session& session) {
  mpi::Workers workers(session);
  mpi::SharedSimulator simulator(session, workers);
  return mpi::end_job(session, workers, polysim::run_polysim_program(std::cout, simulator),
                      "polysim");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const mpi::Session session(argc, argv);
    if (session.root()) return run_rank_0(session);
    mpi::PolysimWorker worker;
    return mpi::serve(session, worker);
  } catch (const std::exception& error) {
    std::cerr << "polysim: " << error.what() << '\n';
  }
  return 1;
}
