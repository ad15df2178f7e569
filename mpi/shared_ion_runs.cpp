// Shared ion runs and the simulators of the two sides.
#include "mpi/shared_ion_runs.h"

#include <stdexcept>

#include "engine/ion_launch.h"
#include "engine/launch_ions.h"
#include "mpi/input_copy.h"
#include "polysim/input_reader.h"

namespace mpi {

engine::HitTally SharedIonRuns::run(const polysim::PreparedRun& run,
                                    const engine::FixedTables& fixed,
                                    const polysim::ScheduledRun& scheduled,
                                    const engine::RunKey& key, int threads) {
  engine::HitTally total(run.models.vibration_count, run.models.structure_count,
                         static_cast<std::int32_t>(run.input.crystal.atoms.size()));
  BlockDeal::Run share(deal_,
                       {total.hit_sum, total.overlayer_deflection_sum, total.partner_searches});
  const engine::BlockShare blocks{
      [&](std::int64_t block) { return share.mine(block); },
      [&](std::int64_t block, engine::HitTally& part) {
        share.done(block, {part.hit_sum, part.overlayer_deflection_sum, part.partner_searches});
      }};
  engine::launch_ion_blocks(run.input.crystal, run.models, fixed, *scheduled.tables,
                            scheduled.parameters, key, blocks, total, threads);
  share.finish(engine::block_count(total.ions_run));
  return total;
}

polysim::RunResults SharedSimulator::simulate(std::string_view input_path,
                                              const polysim::PreparedRun& run,
                                              const engine::FixedTables& fixed,
                                              const polysim::SimulationOptions& options,
                                              polysim::ProgressSink& progress) {
  return workers_.simulate(read_input_text(input_path), options.seed, [&] {
    SharedIonRuns runs(session_);
    return polysim::simulate(run, fixed, options, progress, runs);
  });
}

void PolysimWorker::prepare(const std::string& input_text, std::int64_t seed) {
  run_.reset();
  const InputCopy copy(input_text);
  polysim::SilentStatusLines silent;  // the reader's lines are rank 0's to write
  run_ = polysim::prepare_run(polysim::read_simulation_input(copy.path(), silent), tables_);
  seed_ = seed;
}

void PolysimWorker::simulate(const Session& session) {
  if (!run_) throw std::logic_error("no prepared simulation");
  SharedIonRuns runs(session);
  polysim::SilentProgress silent;
  polysim::simulate(*run_, tables_, {seed_, 0}, silent, runs);
}

}  // namespace mpi
