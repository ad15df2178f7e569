// Uniform deviates per second: the per-ion Philox streams against the former single
// congruential stream, drawn as an ion run draws them (about thirty per ion) and in one long
// stream, and the key derivation of a run.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/ion_stream.h"
#include "engine/random_generator.h"

namespace {

constexpr int kDrawsPerIon = 30;

// The draws of one ion from `source`, summed so that none is optimised away.
template <typename Source>
double draw_one_ion(Source& source) {
  double sum = 0;
  for (int k = 0; k < kDrawsPerIon; ++k) sum += source.uniform_deviate();
  return sum;
}

void BM_CongruentialDeviates(benchmark::State& state) {
  engine::RandomGenerator generator(12345);
  for (auto _ : state) {
    benchmark::DoNotOptimize(draw_one_ion(generator));
  }
  state.SetItemsProcessed(state.iterations() * kDrawsPerIon);
}
BENCHMARK(BM_CongruentialDeviates);

// A fresh stream per ion (the run key is made once per run).
void BM_IonStreamDeviates(benchmark::State& state) {
  const engine::RunKey key = engine::run_key(12345, engine::run_number(1));
  std::uint64_t ion = 0;
  for (auto _ : state) {
    engine::IonStream stream(key, ion++);
    benchmark::DoNotOptimize(draw_one_ion(stream));
  }
  state.SetItemsProcessed(state.iterations() * kDrawsPerIon);
}
BENCHMARK(BM_IonStreamDeviates);

void BM_IonStreamLong(benchmark::State& state) {
  engine::IonStream stream(engine::run_key(12345, 0), 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(draw_one_ion(stream));
  }
  state.SetItemsProcessed(state.iterations() * kDrawsPerIon);
}
BENCHMARK(BM_IonStreamLong);

void BM_KeyDerivation(benchmark::State& state) {
  std::uint64_t run = 0;
  for (auto _ : state) benchmark::DoNotOptimize(engine::run_key(12345, run++));
}
BENCHMARK(BM_KeyDerivation);

}  // namespace
