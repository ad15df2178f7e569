// warpcorr, stepcorr, kinecorr, flatcorr and binshrink end to end (start-up, data, records) on
// a scratch experiment, each on a spectrum of about a million int32 channels.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "spectools/binshrink/binshrink_tool.h"
#include "spectools/flatcorr/flatcorr_tool.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/kinecorr/kinecorr_tool.h"
#include "spectools/warpcorr/distortion_tool.h"
#include "zq/zq.h"

namespace {

// A scratch experiment named by EXPERIMENTDIR, holding one spectrum "scan" of
// angles x energies channels with calibrated axes; removed afterwards.
class Experiment {
 public:
  Experiment(int angles, int energies) {
    std::string name = (std::filesystem::temp_directory_path() / "bench-tools.XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
    setenv("EXPERIMENTDIR", name.c_str(), 1);
    std::vector<std::int32_t> counts(static_cast<std::size_t>(angles) * energies);
    for (std::size_t k = 0; k < counts.size(); ++k) counts[k] = static_cast<std::int32_t>(k % 997);
    if (ZQsetExperimentPath(name.c_str()) != 0 || ZQconnectExperiment("capabilities") != 0 ||
        ZQcreate2dSpectrum("scan", 0, angles, 0, energies, 0, ZQ_INT32) != 0 ||
        ZQwrite2dSpectrum("scan", 0, angles, 0, energies, counts.data(), ZQ_INT32) != 0 ||
        ZQwriteCalibration("scan", 1, "Angle deg 2 0 0.1") != 0 ||
        ZQwriteCalibration("scan", 2, "Energy keV 2 0 2") != 0) {
      throw std::runtime_error(ZQerrorMessage(ZQerrno));
    }
  }
  ~Experiment() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  std::filesystem::path path_;
};

template <class Run>
void Tool(benchmark::State& state, Run run, std::vector<const char*> argv) {
  const Experiment experiment(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(run(static_cast<int>(argv.size()), argv.data()));
    } catch (const spectools::ToolExit& exit) {
      state.SkipWithError(exit.output().c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

std::string warpcorr(int argc, const char* const* argv) {
  return spectools::distortion::run("warpcorr", argc, argv);
}
std::string stepcorr(int argc, const char* const* argv) {
  return spectools::distortion::run("stepcorr", argc, argv);
}

// kinecorr lengthens the energy axis from 2048 keV to 2100 keV + 20 channels.
BENCHMARK_CAPTURE(Tool, warpcorr, warpcorr, {"warpcorr", "scan", "out"})
    ->Args({1024, 1024})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Tool, stepcorr, stepcorr, {"stepcorr", "scan", "out"})
    ->Args({1024, 1024})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Tool, kinecorr, spectools::kinecorr::run,
                  {"kinecorr", "scan", "out", "2100", "4.0026", "28.0855", "0.5"})
    ->Args({1024, 1024})
    ->Unit(benchmark::kMillisecond);
// The flattening weight stays positive only within 218 channels of the middle of axis 2, so
// flatcorr runs on 2400 x 436 channels, about the same million.
BENCHMARK_CAPTURE(Tool, flatcorr, spectools::flatcorr::run, {"flatcorr", "scan", "out"})
    ->Args({1024, 436})
    ->Args({2400, 436})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Tool, binshrink, spectools::binshrink::run, {"binshrink", "scan", "out", "3"})
    ->Args({1024, 1024})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
