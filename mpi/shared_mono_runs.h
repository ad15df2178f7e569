// monosim's ion runs with their blocks shared among the ranks of a job (block_exchange.h),
// and the simulators of rank 0 and of the workers built on them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/fixed_tables.h"
#include "monosim/prepared_mono.h"
#include "monosim/simulate.h"
#include "mpi/block_exchange.h"
#include "mpi/session.h"
#include "mpi/workers.h"

namespace mpi {

// One simulation's runs: on rank 0 each returns the run's hit sums with every block added in
// block order; on a worker the sums are empty and only the counts' facts are set.
class SharedMonoRuns final : public monosim::MonoIonRuns {
 public:
  explicit SharedMonoRuns(const Session& session) : deal_(session) {}
  monosim::AtomHits run(const monosim::PreparedMono& prepared, const engine::FixedTables& fixed,
                        const polysim::ScheduledRun& scheduled, const engine::RunKey& key,
                        int threads, engine::RunCounts& counts) override;

 private:
  BlockDeal deal_;
};

// Rank 0's simulator: hands the input file's text and the seed to the workers, then makes its
// share of the runs and adds up all of them.
class SharedMonoSimulator final : public monosim::MonoSimulator {
 public:
  SharedMonoSimulator(const Session& session, Workers& workers)
      : session_(session), workers_(workers) {}
  monosim::MonoResults simulate(std::string_view input_path, const monosim::PreparedMono& prepared,
                                const engine::FixedTables& fixed,
                                const polysim::SimulationOptions& options,
                                const monosim::RunFinished& finished) override;

 private:
  const Session& session_;
  Workers& workers_;
};

// A worker of monosim's simulations: reads the input text as monosim reads its input file,
// prepares it, and takes its share of the runs on OMP_NUM_THREADS threads.
class MonosimWorker final : public WorkerProgram {
 public:
  void prepare(const std::string& input_text, std::int64_t seed) override;
  void simulate(const Session& session) override;

 private:
  engine::FixedTables tables_ = engine::build_fixed_tables();
  std::optional<monosim::PreparedMono> prepared_;
  std::int64_t seed_ = 0;
};

}  // namespace mpi
