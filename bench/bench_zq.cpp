// Store throughput: a 1024 x 1024 int32 spectrum written and read column by column, one
// block call per column, as the correction tools move their data.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "zq/zq.h"

namespace {

constexpr int kChannels = 1024;

// A scratch experiment holding one empty 1024 x 1024 spectrum, removed afterwards.
class Experiment {
 public:
  Experiment() {
    std::string name = (std::filesystem::temp_directory_path() / "bench-zq.XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
    if (ZQsetExperimentPath(name.c_str()) != 0 || ZQconnectExperiment("capabilities") != 0 ||
        ZQcreate2dSpectrum("scan", 0, kChannels, 0, kChannels, 0, ZQ_INT32) != 0) {
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

void check(int status, benchmark::State& state) {
  if (status != 0) state.SkipWithError(ZQerrorMessage(ZQerrno));
}

void WriteColumns(benchmark::State& state) {
  const Experiment experiment;
  std::vector<std::int32_t> column(kChannels, 17);
  for (auto _ : state) {
    for (int i = 0; i < kChannels; ++i) {
      check(ZQwrite2dSpectrum("scan", i, 1, 0, kChannels, column.data(), ZQ_INT32), state);
    }
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kChannels);
}

void ReadColumns(benchmark::State& state) {
  const Experiment experiment;
  std::vector<std::int32_t> column(kChannels, 17);
  for (int i = 0; i < kChannels; ++i) {
    check(ZQwrite2dSpectrum("scan", i, 1, 0, kChannels, column.data(), ZQ_INT32), state);
  }
  for (auto _ : state) {
    for (int i = 0; i < kChannels; ++i) {
      check(ZQread2dSpectrum("scan", i, 1, 0, kChannels, column.data(), ZQ_INT32), state);
    }
    benchmark::DoNotOptimize(column.data());
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kChannels);
}

}  // namespace

BENCHMARK(WriteColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadColumns)->Unit(benchmark::kMillisecond);
