// Writes a synthetic measured blocking curve for the structfit example to standard output: the
// fitter's own model of the Cu(001) base crystal (examples/structfit/cu001_base.in) with the top
// layer moved 0.100 Å inward (d12 contracted by 0.10 Å), simulated with ten times the fit's ion
// flux, scaled to a mean of 2000 counts per angle and given Poisson noise. A footer line records
// how it was made. Usage, in examples/structfit:
//   ../../build/bin/make_cu001_fit_data cu001_base.in > cu001_blocking.exp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/fixed_tables.h"
#include "polysim/input_reader.h"
#include "polysim/prepared_run.h"
#include "polysim/progress_sink.h"
#include "polysim/result_signals.h"
#include "polysim/simulate.h"
#include "structfit/prepare_input.h"
#include "textio/fixed_text.h"
#include "textio/format_writer.h"

namespace {

constexpr float kTruth = 0.100f;  // Å the top layer moves inward: d12 − 0.100 Å
constexpr float kStep = 0.05f;    // Å, the example's model-point spacing
constexpr float kFluxFactor = 10.0f;
constexpr double kMeanCounts = 2000.0;
constexpr std::int64_t kSimulationSeed = 20261207;
constexpr std::uint64_t kNoiseSeed = 15;

class Silent final : public polysim::StatusLines {
 public:
  void write_group(const std::vector<std::string>& /*lines*/) override {}
  void write_console_only(const std::vector<std::string>& /*lines*/) override {}
};

// The example's fit parameter: atoms 1 and 2 (the top layer) moved in depth.
structfit::FitSetup top_layer_setup() {
  structfit::FitSetup setup;
  setup.data_sets.resize(1);
  setup.elements = {{1, 1.0f}};
  setup.point_count = 5;
  structfit::FitParameter depth;
  depth.name = textio::fixed_width("top_layer_depth", 20);
  depth.step = kStep;
  depth.rows = {{0, 0, 1, 0, 0, 0}, {0, 0, 1, 0, 0, 0}};
  setup.parameters.push_back(depth);
  return setup;
}

// splitmix64: a small generator whose stream is the same on every platform.
class Uniform {
 public:
  explicit Uniform(std::uint64_t seed) : state_(seed) {}
  double next() {  // in (0, 1)
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    z ^= z >> 31;
    return (static_cast<double>(z >> 11) + 0.5) * 0x1.0p-53;
  }

 private:
  std::uint64_t state_;
};

// A Poisson count of mean `mean`: the sum of counts of means at most 50 (Poisson means add),
// each drawn by multiplying uniforms until the product falls below exp(−mean).
std::int64_t poisson(double mean, Uniform& uniform) {
  std::int64_t count = 0;
  while (mean > 0.0) {
    const double part = std::min(mean, 50.0);
    mean -= part;
    const double limit = std::exp(-part);
    for (double product = uniform.next(); product > limit; product *= uniform.next()) ++count;
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_cu001_fit_data <base file>\n";
    return 1;
  }
  const std::filesystem::path input =
      std::filesystem::temp_directory_path() / "make_cu001_fit_data.in";
  std::ostringstream quiet;
  structfit::prepare_simulation_input(top_layer_setup(), {kTruth}, 1, argv[1], input, quiet);
  Silent silent;
  polysim::SimulationInput truth = polysim::read_simulation_input(input.string(), silent);
  std::filesystem::remove(input);
  truth.beam.shadow_flux *= kFluxFactor;
  truth.beam.block_flux *= kFluxFactor;
  const engine::FixedTables tables = engine::build_fixed_tables();
  const polysim::PreparedRun run = polysim::prepare_run(truth, tables);
  polysim::SilentProgress progress;
  const polysim::RunResults results = polysim::simulate(run, tables, {kSimulationSeed}, progress);
  // The middle model of the five is the structure at the truth itself.
  const polysim::ResultSignals signals =
      polysim::compute_result_signals(truth.crystal, truth.beam.atoms_per_layer, results, 3, 1);
  const std::int32_t angles = results.angle_count();
  double sum = 0.0;
  for (std::int32_t j = 1; j <= angles; ++j) sum += signals.element_at(1, j);
  const double counts_per_signal = kMeanCounts * angles / sum;
  Uniform uniform(kNoiseSeed);
  const textio::Format line("(F8.2,F10.1)");
  for (std::int32_t j = 1; j <= angles; ++j) {
    const double mean = counts_per_signal * signals.element_at(1, j);
    const float angle =
        run.input.beam.detection_angles.at(static_cast<std::size_t>(j - 1)) / tables.deg_to_rad;
    std::cout << line.write({angle, static_cast<float>(poisson(mean, uniform))});
  }
  std::cout << " synthetic: top layer 0.100 A inward (d12 -0.100 A), flux x" << kFluxFactor
            << ", seed " << kSimulationSeed << ", Poisson noise at a mean of " << kMeanCounts
            << " counts\n";
  return 0;
}
