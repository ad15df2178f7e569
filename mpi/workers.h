// Rank 0 and the workers of a job: rank 0 runs the program and hands every simulation to the
// workers, which prepare the same input and take their share of its blocks of ions; rank 0
// alone reads the program's files and writes its results. A failure on any rank ends every
// rank with exit status 1 and its message on rank 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mpi/session.h"

namespace mpi {

// What a worker does with a simulation it is handed.
class WorkerProgram {
 public:
  virtual ~WorkerProgram() = default;
  // Prepares the simulation of `input_text` with run seed `seed`; throws when it cannot.
  virtual void prepare(const std::string& input_text, std::int64_t seed) = 0;
  // Takes this rank's share of the prepared simulation's blocks.
  virtual void simulate(const Session& session) = 0;
};

// Serves rank 0's simulations with `program` until rank 0 ends the job; returns this rank's
// exit status. A failure is reported to rank 0 with its message; the rank then waits for the
// end.
int serve(const Session& session, WorkerProgram& program);

// Rank 0's side.
class Workers {
 public:
  explicit Workers(const Session& session)
      : session_(session), failed_(static_cast<std::size_t>(session.size()), false) {}

  // Hands every worker a simulation and returns once all prepared it; then here() makes rank
  // 0's part of the simulation and its result is returned. Throws RankFailed when a worker
  // could not prepare the input (no ion has run then), and whatever here() throws.
  template <typename Here>
  auto simulate(const std::string& input_text, std::int64_t seed, Here here) {
    start(input_text, seed);
    busy_ = true;
    auto result = here();
    busy_ = false;
    return result;
  }

  // True while a simulation runs: a failure then leaves other ranks waiting to hand over
  // blocks, and only Session::abort ends them.
  bool busy() const { return busy_; }

  // Ends every worker with exit status `code`. Returns the message of a worker that failed
  // and had not said so yet (empty when none did).
  std::string stop(int code);

 private:
  void start(const std::string& input_text, std::int64_t seed);
  void send_all(const std::string& command);
  // One answer from every worker whose failure was not read yet: the first failure message.
  std::string collect_answers();

  const Session& session_;
  std::vector<bool> failed_;  // per rank: its failure message was read
  bool busy_ = false;
};

// Rank 0's end of a job whose program returned `status` (its failure message written): ends
// the job at once when the failure came during a simulation, else ends every worker with that
// status. A worker's failure not yet reported is written to standard error after
// `program` + ": ", and makes the status 1. Returns rank 0's exit status.
int end_job(const Session& session, Workers& workers, int status, const std::string& program);

}  // namespace mpi
