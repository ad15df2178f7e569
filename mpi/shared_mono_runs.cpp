// Shared monosim runs and the simulators of the two sides.
#include "mpi/shared_mono_runs.h"

#include <stdexcept>

#include "engine/ion_launch.h"
#include "monosim/input_reader.h"
#include "mpi/input_copy.h"
#include "polysim/status_lines.h"

namespace mpi {

monosim::AtomHits SharedMonoRuns::run(const monosim::PreparedMono& prepared,
                                      const engine::FixedTables& fixed,
                                      const polysim::ScheduledRun& scheduled,
                                      const engine::RunKey& key, int threads,
                                      engine::RunCounts& counts) {
  monosim::AtomHits hits{std::vector<double>(prepared.run.input.crystal.atoms.size(), 0.0)};
  BlockDeal::Run share(deal_,
                       {hits.hit_sum, counts.overlayer_deflection_sum, counts.partner_searches});
  monosim::with_run_setup(
      prepared, fixed, scheduled,
      [&](const engine::TrackingContext& context, const monosim::AnisotropicAccounting& policy) {
        const engine::RunCounts facts = engine::launch_blocks(
            context, scheduled.parameters, policy, key, hits,
            [&](std::int64_t block) { return share.mine(block); },
            [&](std::int64_t block, monosim::AtomHits& part, engine::RunCounts& part_counts) {
              share.done(block, {part.hit_sum, part_counts.overlayer_deflection_sum,
                                 part_counts.partner_searches});
            },
            threads);
        counts.ions_run = facts.ions_run;
        counts.hit_norm = facts.hit_norm;
      });
  share.finish(engine::block_count(counts.ions_run));
  return hits;
}

monosim::MonoResults SharedMonoSimulator::simulate(std::string_view input_path,
                                                   const monosim::PreparedMono& prepared,
                                                   const engine::FixedTables& fixed,
                                                   const polysim::SimulationOptions& options,
                                                   const monosim::RunFinished& finished) {
  return workers_.simulate(read_input_text(input_path), options.seed, [&] {
    SharedMonoRuns runs(session_);
    return monosim::simulate(prepared, fixed, options, finished, runs);
  });
}

void MonosimWorker::prepare(const std::string& input_text, std::int64_t seed) {
  prepared_.reset();
  const InputCopy copy(input_text);
  polysim::SilentStatusLines silent;  // the reader's lines are rank 0's to write
  prepared_ = monosim::prepare_mono(monosim::read_mono_input(copy.path(), silent), tables_);
  seed_ = seed;
}

void MonosimWorker::simulate(const Session& session) {
  if (!prepared_) throw std::logic_error("no prepared simulation");
  SharedMonoRuns runs(session);
  monosim::simulate(
      *prepared_, tables_, {seed_, 0}, [](std::int32_t) {}, runs);
}

}  // namespace mpi
