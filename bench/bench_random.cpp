// Uniform deviates per second: the per-ion Philox streams against the single congruential
// stream they replaced (kept here for the comparison), drawn as an ion run draws them (about
// thirty per ion) and in one long stream, and the key derivation of a run.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/ion_stream.h"

namespace {

constexpr int kDrawsPerIon = 30;

// x <- 48271 x mod (2^31 - 1) by Schrage's decomposition, u = x / (2^31 - 1): the one stream
// that all ions shared before.
class Congruential {
 public:
  explicit Congruential(std::int32_t state) : state_(state) {}
  double uniform_deviate() {
    const std::int32_t hi = state_ / 44488, lo = state_ % 44488;
    state_ = 48271 * lo - 3399 * hi;
    if (state_ <= 0) state_ += 2147483647;
    return state_ * 4.656612875245797e-10;
  }

 private:
  std::int32_t state_;
};

// The draws of one ion from `source`, summed so that none is optimised away.
template <typename Source>
double draw_one_ion(Source& source) {
  double sum = 0;
  for (int k = 0; k < kDrawsPerIon; ++k) sum += source.uniform_deviate();
  return sum;
}

void BM_CongruentialDeviates(benchmark::State& state) {
  Congruential generator(12345);
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
