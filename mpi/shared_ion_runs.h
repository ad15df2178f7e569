// polysim's ion runs with their blocks shared among the ranks of a job (block_exchange.h),
// and the simulators of rank 0 and of the workers built on them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/fixed_tables.h"
#include "mpi/block_exchange.h"
#include "mpi/session.h"
#include "mpi/workers.h"
#include "polysim/prepared_run.h"
#include "polysim/simulate.h"

namespace mpi {

// One simulation's runs: on rank 0 each returns the run's tally with every block added in
// block order; on a worker the tally holds the run's facts and no sums.
class SharedIonRuns final : public polysim::IonRuns {
 public:
  explicit SharedIonRuns(const Session& session) : deal_(session) {}
  engine::HitTally run(const polysim::PreparedRun& run, const engine::FixedTables& fixed,
                       const polysim::ScheduledRun& scheduled, const engine::RunKey& key,
                       int threads) override;

 private:
  BlockDeal deal_;
};

// Rank 0's simulator: hands the input file's text and the seed to the workers, then makes its
// share of the runs and adds up all of them.
class SharedSimulator final : public polysim::Simulator {
 public:
  SharedSimulator(const Session& session, Workers& workers)
      : session_(session), workers_(workers) {}
  polysim::RunResults simulate(std::string_view input_path, const polysim::PreparedRun& run,
                               const engine::FixedTables& fixed,
                               const polysim::SimulationOptions& options,
                               polysim::ProgressSink& progress) override;

 private:
  const Session& session_;
  Workers& workers_;
};

// A worker of polysim's simulations (those of polysim and of structfit): reads the input text
// as polysim reads its input file, prepares it, and takes its share of the runs on
// OMP_NUM_THREADS threads.
class PolysimWorker final : public WorkerProgram {
 public:
  void prepare(const std::string& input_text, std::int64_t seed) override;
  void simulate(const Session& session) override;

 private:
  engine::FixedTables tables_ = engine::build_fixed_tables();
  std::optional<polysim::PreparedRun> run_;
  std::int64_t seed_ = 0;
};

}  // namespace mpi
