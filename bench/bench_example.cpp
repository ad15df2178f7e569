// The bundled example examples/cu001.in end to end: the shadowing run and every blocking run
// of its schedule, as polysim runs them, on 1 and 2 threads. The fluxes are cut to a tenth
// (26 000 ions a run instead of 260 000) so that one iteration takes seconds; the cost per
// search and per ion does not depend on the ion count. "time/search" and "ions/s" are wall-clock
// figures of the whole schedule.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/fixed_tables.h"
#include "engine/ion_stream.h"
#include "polysim/input_reader.h"
#include "polysim/prepared_run.h"
#include "polysim/simulate.h"
#include "polysim/status_lines.h"

namespace {

constexpr float kFluxScale = 0.1f;

class SilentStatus final : public polysim::StatusLines {
 public:
  void write_group(const std::vector<std::string>&) override {}
  void write_console_only(const std::vector<std::string>&) override {}
};

const engine::FixedTables& tables() {
  static const engine::FixedTables fixed = engine::build_fixed_tables();
  return fixed;
}

polysim::SimulationInput example_input() {
  SilentStatus status;
  polysim::SimulationInput input =
      polysim::read_simulation_input(IONBEAM_SOURCE_DIR "/examples/cu001.in", status);
  input.beam.shadow_flux *= kFluxScale;
  input.beam.block_flux *= kFluxScale;
  return input;
}

// Argument: threads.
void BM_Cu001Example(benchmark::State& state) {
  const polysim::PreparedRun prepared = polysim::prepare_run(example_input(), tables());
  const int threads = static_cast<int>(state.range(0));
  std::int64_t searches = 0, ions = 0;
  std::uint64_t seed = 1;
  for (auto _ : state) {
    const auto run = [&](const polysim::ScheduledRun& scheduled, std::int32_t angle,
                         std::size_t group) {
      const engine::RunKey key = engine::run_key(
          static_cast<std::int64_t>(seed), engine::run_number(angle, static_cast<int>(group)));
      const engine::HitTally tally =
          polysim::run_scheduled(prepared, tables(), scheduled, key, threads);
      searches += tally.partner_searches;
      ions += tally.ions_run;
      benchmark::DoNotOptimize(tally.hit_sum.data());
    };
    run(prepared.schedule.shadowing, 0, 0);
    const auto angles = static_cast<std::int32_t>(prepared.input.beam.detection_angles.size());
    for (std::int32_t j = 1; j <= angles; ++j)
      for (std::size_t g = 0; g < prepared.schedule.group_count; ++g)
        run(prepared.schedule.blocking_run(j, g), j, g);
    ++seed;
  }
  state.counters["time/search"] = benchmark::Counter(
      static_cast<double>(searches), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["ions/s"] =
      benchmark::Counter(static_cast<double>(ions), benchmark::Counter::kIsRate);
  state.counters["searches/ion"] = static_cast<double>(searches) / static_cast<double>(ions);
  state.counters["searches"] = static_cast<double>(searches);  // for instruction counts
}
BENCHMARK(BM_Cu001Example)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
