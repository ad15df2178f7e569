// Start and end of MPI for one process.
#include "mpi/session.h"

#include <mpi.h>

#include <cstdlib>
#include <stdexcept>

namespace mpi {

Session::Session(int& argc, char**& argv) {
  int provided = MPI_THREAD_SINGLE;
  MPI_Init_thread(&argc, &argv, MPI_THREAD_SERIALIZED, &provided);
  MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
  MPI_Comm_size(MPI_COMM_WORLD, &size_);
  if (provided < MPI_THREAD_SERIALIZED) {
    MPI_Finalize();
    throw std::runtime_error("the MPI library does not allow calls from several threads");
  }
}

Session::~Session() {
  MPI_Finalize();
}

void Session::abort(int code) const {
  MPI_Abort(MPI_COMM_WORLD, code);
  std::exit(code);  // MPI_Abort does not return; this keeps [[noreturn]] honest
}

}  // namespace mpi
