// Small monosim inputs as text, read and prepared as the program does it, and the runs of the
// simulation tests: a column of two copper atoms under 100 keV protons.
#pragma once

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "../engine/tracking_case.h"
#include "../polysim/scratch_dir.h"
#include "engine/fixed_tables.h"
#include "monosim/input_reader.h"
#include "monosim/prepared_mono.h"
#include "monosim/simulate.h"

namespace monosim_test {

using engine_test::kSanitized;

inline const engine::FixedTables& fixed_tables() {
  static const engine::FixedTables fixed = engine::build_fixed_tables();
  return fixed;
}

// Collects what reading writes to the console.
class Console final : public polysim::StatusLines {
 public:
  void write_group(const std::vector<std::string>& lines) override { add(lines); }
  void write_console_only(const std::vector<std::string>& lines) override { add(lines); }
  std::string text;

 private:
  void add(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) text += line + "\n";
  }
};

struct Vibration {
  float x, y, z;  // Å
};

// Two atoms in a cell of `cell` x `cell` Å, one a layer: atom 1 at x = 0 on the middle of the
// surface, atom 2 `offset` (Å, x y z) from it. Both lie on an x edge (the planes at which the
// grazing walks along x examine them): with an x offset the cell has a second column from
// atom 2 on. Flags: random starts, Moliere, unconnected legs.
struct Column {
  float cell = 4.0f;
  float offset[3] = {0.0f, 0.0f, 1.5f};
  Vibration top{0.06f, 0.06f, 0.06f}, below{0.06f, 0.06f, 0.06f};
  std::int32_t correlation_flag = 0;
  float c = 0.0f, distance = 3.0f;
  float azimuth = 0.0f, polar = 0.0f, detection = 120.0f;  // degrees
  float shadow_flux = 1000.0f, block_flux = 1000.0f;

  std::string text() const {
    std::ostringstream t;
    const float mid = 0.5f * cell;
    const int nx = offset[0] != 0.0f ? 2 : 1;
    t << " Two copper atoms\n 0 0\n 1 0 0 0 0 " << correlation_flag << " 0 0\n";
    t << " 2 1 " << nx << " 1 2 " << nx + 1 << " 2 3 1 0 0 0 0 0 0 0 0 0 0\n 29 63.546\n 1 0.0\n";
    t << " " << c << " " << distance << "\n";
    t << " 0 " << mid << " 0 1 1 1 " << top.x << " " << top.y << " " << top.z << " 1\n";
    t << " " << offset[0] << " " << mid + offset[1] << " " << offset[2] << " " << nx << " 1 2 "
      << below.x << " " << below.y << " " << below.z << " 1\n";
    t << " " << cell << " " << cell << "\n 0";
    if (nx == 2) t << " " << offset[0];
    t << "\n 0\n -0.75 " << 0.5f * offset[2] << "\n";
    t << " " << azimuth << " " << polar << " " << detection << " 1.0 1.0\n";
    t << " 1 1.008 100.0 " << shadow_flux << " " << block_flux << "\n";
    return t.str();
  }
};

inline monosim::MonoInput read_text(const std::string& text) {
  polysim_test::ScratchDir dir;
  dir.write("column.in", text);
  Console console;
  return monosim::read_mono_input(dir.file("column.in").string(), console);
}

inline monosim::PreparedMono prepared(const Column& column) {
  return monosim::prepare_mono(read_text(column.text()), fixed_tables());
}

// One thread by default: on a machine shared with other work, threads that wait for each
// other's chunks cost more than they give for runs this small.
inline monosim::MonoResults run(const monosim::PreparedMono& p, std::int64_t seed,
                                int threads = 1) {
  return monosim::simulate(p, fixed_tables(), {seed, threads}, [](std::int32_t) {});
}

// Mean over batches and its standard error.
struct Estimate {
  double mean = 0.0, error = 0.0;
};

inline Estimate estimate(const std::vector<double>& batches) {
  double sum = 0.0, sum2 = 0.0;
  for (const double x : batches) sum += x;
  const double n = static_cast<double>(batches.size());
  const double mean = sum / n;
  for (const double x : batches) sum2 += (x - mean) * (x - mean);
  return {mean, std::sqrt(sum2 / (n - 1.0) / n)};
}

// The prepared run with other amplitudes of the two atoms: nothing else of a preparation
// depends on them.
inline monosim::PreparedMono with_amplitudes(monosim::PreparedMono p, Vibration top,
                                             Vibration below) {
  p.input.amplitudes = {{top.x, top.y, top.z}, {below.x, below.y, below.z}};
  p.vibrations = monosim::derive_vibrations(p.input.amplitudes, fixed_tables().pi);
  return p;
}

// `count` monosim runs of `p` with seeds 1..count.
inline std::vector<monosim::MonoResults> runs(const monosim::PreparedMono& p, int count) {
  std::vector<monosim::MonoResults> out;
  for (int seed = 1; seed <= count; ++seed) out.push_back(run(p, seed));
  return out;
}

// `quantity` over runs.
template <typename Quantity>
Estimate estimate_of(const std::vector<monosim::MonoResults>& results, Quantity quantity) {
  std::vector<double> values;
  for (const monosim::MonoResults& r : results) values.push_back(quantity(r));
  return estimate(values);
}

template <typename Quantity>
Estimate batches(const monosim::PreparedMono& p, int count, Quantity quantity) {
  return estimate_of(runs(p, count), quantity);
}

// How many standard errors of their difference two estimates lie apart.
inline double separation(const Estimate& a, const Estimate& b) {
  return std::fabs(a.mean - b.mean) / std::hypot(a.error, b.error);
}

}  // namespace monosim_test
