// Partner searches per second of the ion tracking on a realistic slab: Cu(001), eight
// layers in the c(2 x 2) cell, 100 keV protons, with 1, 6, 12 and 200 model pairs. The models
// shift and re-vibrate the four atoms of the top two layers, so every pair beyond the first
// costs the accounting at those atoms. "time/search" is the time of one partner search on one
// core. BM_ExtraPerPair reports the extra cost of a model pair directly: it runs one pair and
// many pairs in turn, so that a slow spell of the machine falls on both alike.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "engine/fixed_tables.h"
#include "polysim/prepared_run.h"
#include "polysim/simulate.h"

namespace {

constexpr float kLattice = 3.615f;  // Å, copper
constexpr std::int32_t kLayers = 8;
constexpr std::int32_t kModelAtoms = 4;  // the top two layers
constexpr std::int32_t kIons = 4000;     // per run

const engine::FixedTables& tables() {
  static const engine::FixedTables fixed = engine::build_fixed_tables();
  return fixed;
}

// The slab as a simulation input (angles in degrees), prepared as polysim prepares it.
struct Slab {
  polysim::SimulationInput input;

  Slab(std::int32_t structures, std::int32_t vibrations, float polar, float azimuth) {
    engine::Crystal& crystal = input.crystal;
    const float half = 0.5f * kLattice, spacing = 0.5f * kLattice;
    crystal.types = {{29, 63.546f}};
    crystal.repeat_x = crystal.repeat_y = kLattice;
    crystal.cell_count_x = crystal.cell_count_y = 2;
    crystal.layer_count = kLayers;
    crystal.x_edges = {0.0f, half, 0.0f};
    crystal.y_edges = {0.0f, half, 0.0f};
    for (std::int32_t l = 1; l <= kLayers; ++l)
      crystal.z_edges.push_back((static_cast<float>(l) - 1.5f) * spacing);
    crystal.z_edges.push_back(0.0f);
    crystal.cell_atom.assign(4 * kLayers, 0);
    for (std::int32_t l = 1; l <= kLayers; ++l) {
      const float z = static_cast<float>(l - 1) * spacing;
      const bool odd = l % 2 == 1;
      add_atom(0.0f, odd ? 0.0f : half, z, 1, odd ? 1 : 2, l);
      add_atom(half, odd ? half : 0.0f, z, 2, odd ? 2 : 1, l);
    }
    set_models(structures, vibrations);
    engine::Beam& beam = input.beam;
    beam.ion_z = 1;
    beam.ion_mass = 1.008f;
    beam.ion_energy = 100.0f;
    beam.azimuth = azimuth;
    beam.polar_angle = polar;
    beam.detection_angles = {120.0f};
    beam.atoms_per_layer = 2.0f;
  }

  void add_atom(float x, float y, float z, std::int32_t i, std::int32_t j, std::int32_t l) {
    engine::Atom atom;
    atom.x = x;
    atom.y = y;
    atom.z = z;
    atom.cell_i = i;
    atom.cell_j = j;
    atom.layer = l;
    atom.sigma = 0.085f;
    atom.type = 1;
    input.crystal.atoms.push_back(atom);
  }

  // Structure model s moves the model atoms by 0.02 (s - 1) Å inward and 0.01 (s - 1) Å
  // along x; vibration model v scales their amplitude by 1 + 0.1 (v - 1).
  void set_models(std::int32_t structures, std::int32_t vibrations) {
    engine::ModelSet& models = input.models;
    models.structure_count = structures;
    models.vibration_count = vibrations;
    models.displaced_atom_count = models.vibrated_atom_count = kModelAtoms;
    models.structure_shift.assign(static_cast<std::size_t>(structures * kModelAtoms), {});
    models.vibration_sigma.assign(static_cast<std::size_t>(vibrations * kModelAtoms), 0.085f);
    for (std::int32_t s = 1; s <= structures; ++s)
      for (std::int32_t a = 1; a <= kModelAtoms; ++a)
        models.shift(s, a) = {0.01f * (s - 1), 0.0f, 0.02f * (s - 1)};
    for (std::int32_t v = 1; v <= vibrations; ++v)
      for (std::int32_t a = 1; a <= kModelAtoms; ++a)
        models.sigma(v, a) = 0.085f * (1.0f + 0.1f * (v - 1));
  }
};

// The shadowing run of a slab (the detection angle as its mean angle) at a fixed ion count,
// on one thread: each call draws other streams.
class TimedSlab {
 public:
  TimedSlab(std::int32_t structures, std::int32_t vibrations, float polar, float azimuth)
      : slab_(structures, vibrations, polar, azimuth),
        prepared_(polysim::prepare_run(slab_.input, tables())),
        run_(prepared_.schedule.shadowing) {
    run_.parameters.ion_target = kIons;
  }

  engine::HitTally run_once() {
    const engine::HitTally tally =
        polysim::run_scheduled(prepared_, tables(), run_, engine::run_key(12345, run_number_++), 1);
    benchmark::DoNotOptimize(tally.hit_sum.data());
    return tally;
  }

 private:
  Slab slab_;
  polysim::PreparedRun prepared_;
  polysim::ScheduledRun run_;
  std::uint64_t run_number_ = 0;
};

// Arguments: structure models, vibration models, polar angle and azimuth (degrees).
void BM_PartnerSearches(benchmark::State& state) {
  TimedSlab slab(static_cast<std::int32_t>(state.range(0)),
                 static_cast<std::int32_t>(state.range(1)), static_cast<float>(state.range(2)),
                 static_cast<float>(state.range(3)));
  std::int64_t searches = 0, ions = 0;
  for (auto _ : state) {
    const engine::HitTally tally = slab.run_once();
    searches += tally.partner_searches;
    ions += tally.ions_run;
  }
  state.counters["searches/s"] =
      benchmark::Counter(static_cast<double>(searches), benchmark::Counter::kIsRate);
  state.counters["time/search"] = benchmark::Counter(
      static_cast<double>(searches), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["searches/ion"] = static_cast<double>(searches) / static_cast<double>(ions);
  state.counters["searches"] = static_cast<double>(searches);  // for instruction counts
  state.counters["pairs"] = static_cast<double>(state.range(0) * state.range(1));
}
BENCHMARK(BM_PartnerSearches)
    ->ArgNames({"structures", "vibrations", "polar", "azimuth"})
    ->Args({1, 1, 35, 22})
    ->Args({3, 2, 35, 22})
    ->Args({4, 3, 35, 22})
    ->Args({20, 10, 35, 22})
    ->Args({1, 1, 0, 0})
    ->Args({4, 3, 0, 0})
    ->Unit(benchmark::kMillisecond);

// Seconds per partner search of one run of `slab`.
double seconds_per_search(TimedSlab& slab) {
  const auto start = std::chrono::steady_clock::now();
  const engine::HitTally tally = slab.run_once();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return took.count() / static_cast<double>(tally.partner_searches);
}

// Arguments: structure and vibration models of the many-pair slab (polar 35, azimuth 22
// degrees). "ns/search@1" is the time of a search at one model pair, "extra ns/pair" the cost
// each further pair adds to it; each iteration runs both slabs.
void BM_ExtraPerPair(benchmark::State& state) {
  const auto structures = static_cast<std::int32_t>(state.range(0));
  const auto vibrations = static_cast<std::int32_t>(state.range(1));
  TimedSlab one(1, 1, 35.0f, 22.0f);
  TimedSlab many(structures, vibrations, 35.0f, 22.0f);
  double one_sum = 0.0, many_sum = 0.0;
  for (auto _ : state) {
    one_sum += seconds_per_search(one);
    many_sum += seconds_per_search(many);
  }
  const double runs = static_cast<double>(state.iterations());
  const double extra_pairs = static_cast<double>(structures * vibrations - 1);
  state.counters["ns/search@1"] = 1e9 * one_sum / runs;
  state.counters["extra ns/pair"] = 1e9 * (many_sum - one_sum) / runs / extra_pairs;
}
BENCHMARK(BM_ExtraPerPair)
    ->ArgNames({"structures", "vibrations"})
    ->Args({4, 3})
    ->Args({20, 10})
    ->Unit(benchmark::kMillisecond);

}  // namespace
