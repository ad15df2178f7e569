// The main of an MPI program: rank 0 runs the program with the workers at hand, every other
// rank serves it with a worker of type Worker; a failure to start or end MPI is reported
// as `program`: message, with exit status 1.
#pragma once

#include <exception>
#include <iostream>

#include "mpi/session.h"
#include "mpi/workers.h"

namespace mpi {

// `rank_0(session, workers)` runs the program on rank 0 and returns its exit status.
template <typename Worker, typename Rank0>
int run_job(int& argc, char**& argv, const char* program, Rank0 rank_0) {
  try {
    const Session session(argc, argv);
    if (!session.root()) {
      Worker worker;
      return serve(session, worker);
    }
    Workers workers(session);
    return end_job(session, workers, rank_0(session, workers), program);
  } catch (const std::exception& error) {
    std::cerr << program << ": " << error.what() << '\n';
  }
  return 1;
}

}  // namespace mpi
