// Cost of building the deflection table of one atom type: 10000 closest-approach searches
// and 300 000 potential evaluations in the quadrature.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/deflection_table.h"
#include "engine/fixed_tables.h"
#include "engine/potential.h"

namespace {

const engine::FixedTables& tables() {
  static const engine::FixedTables fixed = engine::build_fixed_tables();
  return fixed;
}

// One table row for a 100 keV proton beam on copper (Z 29, 63.546 amu) with the potential
// of the benchmark argument (0 Molière, 1 universal, 2 bare Coulomb).
void BM_DeflectionTablePerType(benchmark::State& state) {
  const std::vector<engine::AtomType> copper{{29, 63.546f}};
  engine::Beam beam;
  beam.ion_z = 1;
  beam.ion_mass = 1.008f;
  beam.ion_energy = 100.0f;
  const auto selector = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    const engine::DeflectionTable table =
        engine::build_deflection_table(copper, beam, selector, 1.0f, tables());
    benchmark::DoNotOptimize(table.entry(1, 5000));
  }
  state.SetLabel(selector == engine::kMoliere     ? "Moliere"
                 : selector == engine::kUniversal ? "universal"
                                                  : "bare Coulomb");
}
BENCHMARK(BM_DeflectionTablePerType)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Helium at 2 MeV on lead (Z 82, 207.2 amu): heavier pair, larger closest approaches.
void BM_DeflectionTableHeliumOnLead(benchmark::State& state) {
  const std::vector<engine::AtomType> lead{{82, 207.2f}};
  engine::Beam beam;
  beam.ion_z = 2;
  beam.ion_mass = 4.0026f;
  beam.ion_energy = 2000.0f;
  for (auto _ : state) {
    const engine::DeflectionTable table =
        engine::build_deflection_table(lead, beam, engine::kMoliere, 1.0f, tables());
    benchmark::DoNotOptimize(table.entry(1, 5000));
  }
}
BENCHMARK(BM_DeflectionTableHeliumOnLead)->Unit(benchmark::kMillisecond);

}  // namespace
