// The nine spectrum tools end to end (start-up, counts, records), each run through its own
// entry as its main() would, in a scratch experiment: on a 1024 x 1024 int32 spectrum with
// calibrated axes, flatcorr on the 436 energy channels its weight allows, histtext on a line
// of 1024 * 1024 channels.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scratch_experiment.h"
#include "spectools/binshrink/binshrink_tool.h"
#include "spectools/flatcorr/flatcorr_tool.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/histcopy/histcopy.h"
#include "spectools/histsum/histsum.h"
#include "spectools/histtext/histtext.h"
#include "spectools/kinecorr/kinecorr_tool.h"
#include "spectools/regioncopy/regioncopy.h"
#include "spectools/warpcorr/distortion_tool.h"

namespace {

using ToolEntry = std::string (*)(int, const char* const*);

std::vector<std::int32_t> some_counts(std::int64_t channels) {
  std::vector<std::int32_t> counts(static_cast<std::size_t>(channels));
  for (std::size_t k = 0; k < counts.size(); ++k) counts[k] = static_cast<std::int32_t>(k % 997);
  return counts;
}

void time_runs(benchmark::State& state, ToolEntry entry, const std::vector<const char*>& argv,
               std::int64_t channels) {
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(entry(static_cast<int>(argv.size()), argv.data()));
    } catch (const spectools::ToolExit& exit) {
      state.SkipWithError(exit.output().c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * channels);
}

// The tool on "scan": range(0) angle channels at 0.1 degree from 0, range(1) energy channels
// at 2 keV from 0.
void Plane(benchmark::State& state, ToolEntry entry, const std::vector<const char*>& argv) {
  const bench::ScratchExperiment experiment;
  const int angles = static_cast<int>(state.range(0));
  const int energies = static_cast<int>(state.range(1));
  const std::vector<std::int32_t> counts = some_counts(state.range(0) * state.range(1));
  bench::check(ZQcreate2dSpectrum("scan", 0, angles, 0, energies, 0, ZQ_INT32));
  bench::check(ZQwrite2dSpectrum("scan", 0, angles, 0, energies, counts.data(), ZQ_INT32));
  bench::check(ZQwriteCalibration("scan", 1, "Angle deg 2 0 0.1"));
  bench::check(ZQwriteCalibration("scan", 2, "Energy keV 2 0 2"));
  time_runs(state, entry, argv, state.range(0) * state.range(1));
}

// histtext from the line "scan" of range(0) calibrated channels to a file in the experiment.
void Line(benchmark::State& state, ToolEntry entry) {
  const bench::ScratchExperiment experiment;
  const int channels = static_cast<int>(state.range(0));
  const std::vector<std::int32_t> counts = some_counts(channels);
  bench::check(ZQcreate1dSpectrum("scan", 0, channels, 0, ZQ_INT32));
  bench::check(ZQwrite1dSpectrum("scan", 0, channels, counts.data(), ZQ_INT32));
  bench::check(ZQwriteCalibration("scan", 1, "Energy keV 2 1980.0 0.336134"));
  const std::string text = (experiment.path() / "scan.txt").string();
  time_runs(state, entry, {"histtext", "scan", text.c_str()}, channels);
}

std::string warpcorr(int argc, const char* const* argv) {
  return spectools::distortion::run("warpcorr", argc, argv);
}
std::string stepcorr(int argc, const char* const* argv) {
  return spectools::distortion::run("stepcorr", argc, argv);
}

constexpr auto kMs = benchmark::kMillisecond;

BENCHMARK_CAPTURE(Plane, warpcorr, warpcorr, {"warpcorr", "scan", "out"})
    ->Args({1024, 1024})
    ->Unit(kMs);
BENCHMARK_CAPTURE(Plane, stepcorr, stepcorr, {"stepcorr", "scan", "out"})
    ->Args({1024, 1024})
    ->Unit(kMs);
// The energy axis grows from 2048 keV to 2100 keV and 20 channels more.
BENCHMARK_CAPTURE(Plane, kinecorr, spectools::kinecorr::run,
                  {"kinecorr", "scan", "out", "2100", "4.0026", "28.0855", "0.5"})
    ->Args({1024, 1024})
    ->Unit(kMs);
// The flattening weight stays positive only within 218 channels of the middle of axis 2:
// 436 energy channels at most, by 1024 angles and by 2400 (about a million channels).
BENCHMARK_CAPTURE(Plane, flatcorr, spectools::flatcorr::run, {"flatcorr", "scan", "out"})
    ->Args({1024, 436})
    ->Args({2400, 436})
    ->Unit(kMs);
BENCHMARK_CAPTURE(Plane, binshrink, spectools::binshrink::run, {"binshrink", "scan", "out", "3"})
    ->Args({1024, 1024})
    ->Unit(kMs);
BENCHMARK_CAPTURE(Plane, histcopy, spectools::histcopy::run, {"histcopy", "scan", "out"})
    ->Args({1024, 1024})
    ->Unit(kMs);
BENCHMARK_CAPTURE(Plane, regioncopy, spectools::regioncopy::run,
                  {"regioncopy", "scan", "out", "0", "1024", "0", "1024"})
    ->Args({1024, 1024})
    ->Unit(kMs);
BENCHMARK_CAPTURE(Plane, histsum, spectools::histsum::run, {"histsum", "scan", "out"})
    ->Args({1024, 1024})
    ->Unit(kMs);
BENCHMARK_CAPTURE(Line, histtext, spectools::histtext::run)->Arg(1024 * 1024)->Unit(kMs);

}  // namespace
