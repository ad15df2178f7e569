// histcopy, regioncopy, histsum and histtext end to end on a 1024 x 1024 int32 spectrum (a
// 1024 * 1024-channel line for histtext, which takes one dimension only), each run through
// the tool's own entry as its main() would, in a scratch experiment.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "spectools/frame/tool_exit.h"
#include "spectools/histcopy/histcopy.h"
#include "spectools/histsum/histsum.h"
#include "spectools/histtext/histtext.h"
#include "spectools/regioncopy/regioncopy.h"
#include "zq/zq.h"

namespace {

constexpr int kChannels = 1024;

void check(int status) {
  if (status != 0) throw std::runtime_error(ZQerrorMessage(ZQerrno));
}

// A scratch experiment named by EXPERIMENTDIR and made the working directory, holding the
// calibrated spectra "plane" (1024 x 1024) and "line" (1024 * 1024 channels); removed
// afterwards.
class Experiment {
 public:
  Experiment() : previous_(std::filesystem::current_path()) {
    std::string name = (std::filesystem::temp_directory_path() / "bench-copy.XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
    setenv("EXPERIMENTDIR", name.c_str(), 1);
    std::filesystem::current_path(path_);
    check(ZQsetExperimentPath(name.c_str()));
    check(ZQconnectExperiment("capabilities"));
    std::vector<std::int32_t> counts(kChannels * kChannels);
    for (std::size_t i = 0; i < counts.size(); ++i) counts[i] = static_cast<std::int32_t>(i % 977);
    check(ZQcreate2dSpectrum("plane", 0, kChannels, 0, kChannels, 0, ZQ_INT32));
    check(ZQwrite2dSpectrum("plane", 0, kChannels, 0, kChannels, counts.data(), ZQ_INT32));
    check(ZQwriteCalibration("plane", 1, "Angle deg 2 -12.0 0.147239"));
    check(ZQwriteCalibration("plane", 2, "Energy keV 2 1980.0 0.336134"));
    check(ZQcreate1dSpectrum("line", 0, kChannels * kChannels, 0, ZQ_INT32));
    check(ZQwrite1dSpectrum("line", 0, kChannels * kChannels, counts.data(), ZQ_INT32));
    check(ZQwriteCalibration("line", 1, "Energy keV 2 1980.0 0.336134"));
  }
  ~Experiment() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  Experiment(const Experiment&) = delete;
  Experiment& operator=(const Experiment&) = delete;

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

using ToolEntry = std::string (*)(int, const char* const*);

void run_tool(benchmark::State& state, ToolEntry entry, const std::vector<const char*>& argv) {
  const Experiment experiment;
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(entry(static_cast<int>(argv.size()), argv.data()));
    } catch (const spectools::ToolExit& exit) {
      state.SkipWithError(exit.output().c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kChannels);
}

void Histcopy(benchmark::State& state) {
  run_tool(state, spectools::histcopy::run, {"histcopy", "plane", "copy"});
}

void Regioncopy(benchmark::State& state) {
  run_tool(state, spectools::regioncopy::run,
           {"regioncopy", "plane", "window", "0", "1024", "0", "1024"});
}

void Histsum(benchmark::State& state) {
  run_tool(state, spectools::histsum::run, {"histsum", "plane", "sum"});
}

void Histtext(benchmark::State& state) {
  run_tool(state, spectools::histtext::run, {"histtext", "line", "line.txt"});
}

}  // namespace

BENCHMARK(Histcopy)->Unit(benchmark::kMillisecond);
BENCHMARK(Regioncopy)->Unit(benchmark::kMillisecond);
BENCHMARK(Histsum)->Unit(benchmark::kMillisecond);
BENCHMARK(Histtext)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
