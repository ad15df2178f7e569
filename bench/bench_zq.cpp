// Store throughput: a 1024 x 1024 int32 spectrum written and read one column per call, 64
// columns (65,536 channels) per call as the spectrum tools move their counts, and whole (one
// 4 MB block, transposed on its way) as specstore moves it. One column needs no reordering:
// the difference from 64 is the cost of a store call. Run all of them in one process too:
// a slowdown that only shows after many other store calls came from the heap. Writes go to
// a held spectrum, as the tools write their targets; reads come from a placed one. A write
// to a placed spectrum without holding copies it first: PlacedWrite is that cost.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "scratch_experiment.h"
#include "zq/zq.h"

namespace {

constexpr int kChannels = 1024;

// A scratch experiment holding one empty 1024 x 1024 spectrum "scan", held or placed.
class Experiment {
 public:
  explicit Experiment(bool held) {
    if (held) bench::check(ZQholdChanges());
    bench::check(ZQcreate2dSpectrum("scan", 0, kChannels, 0, kChannels, 0, ZQ_INT32));
  }
  ~Experiment() { ZQfinishChanges(0); }
  Experiment(const Experiment&) = delete;
  Experiment& operator=(const Experiment&) = delete;

 private:
  bench::ScratchExperiment scratch_;
};

void check(int status, benchmark::State& state) {
  if (status != 0) state.SkipWithError(ZQerrorMessage(ZQerrno));
}

// One store call per range(0) adjacent columns.
void WriteColumns(benchmark::State& state) {
  const Experiment experiment(true);
  const int width = static_cast<int>(state.range(0));
  const std::vector<std::int32_t> block(static_cast<std::size_t>(width) * kChannels, 17);
  for (auto _ : state) {
    for (int i = 0; i < kChannels; i += width) {
      check(ZQwrite2dSpectrum("scan", i, width, 0, kChannels, block.data(), ZQ_INT32), state);
    }
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kChannels);
}

void ReadColumns(benchmark::State& state) {
  const Experiment experiment(false);
  const int width = static_cast<int>(state.range(0));
  std::vector<std::int32_t> block(static_cast<std::size_t>(width) * kChannels, 17);
  for (int i = 0; i < kChannels; i += width) {
    check(ZQwrite2dSpectrum("scan", i, width, 0, kChannels, block.data(), ZQ_INT32), state);
  }
  for (auto _ : state) {
    for (int i = 0; i < kChannels; i += width) {
      check(ZQread2dSpectrum("scan", i, width, 0, kChannels, block.data(), ZQ_INT32), state);
    }
    benchmark::DoNotOptimize(block.data());
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kChannels);
}

// One column written to a placed spectrum: the whole spectrum is copied, then renamed.
void PlacedWrite(benchmark::State& state) {
  const Experiment experiment(false);
  const std::vector<std::int32_t> column(kChannels, 17);
  for (auto _ : state) {
    check(ZQwrite2dSpectrum("scan", 0, 1, 0, kChannels, column.data(), ZQ_INT32), state);
  }
}

}  // namespace

BENCHMARK(PlacedWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteColumns)
    ->ArgName("columns")
    ->Arg(1)
    ->Arg(64)
    ->Arg(kChannels)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReadColumns)
    ->ArgName("columns")
    ->Arg(1)
    ->Arg(64)
    ->Arg(kChannels)
    ->Unit(benchmark::kMillisecond);
