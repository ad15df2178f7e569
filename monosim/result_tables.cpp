// The yield tables and the shadowing table of monosim's result file.
#include <algorithm>
#include <string_view>
#include <vector>

#include "monosim/result_file.h"
#include "polysim/report_formats.h"
#include "textio/format_writer.h"

namespace monosim {

namespace {

using textio::Format;
using textio::Value;

const Format& heading() {
  static const Format format("(1X,A,1X,A)");
  return format;
}
const Format& row() {
  static const Format format("(100F8.3)");
  return format;
}
const Format& layer_rule() {
  static const Format format("(1X,60('-'))");
  return format;
}
const Format& layer_sum() {
  static const Format format("(1X,60('-'),/,'Hitting probability of layer ',I3,'=',F7.3,/)");
  return format;
}
const Format& summed_layers() {
  static const Format format("(1X,60('-'),/,'Summed hitting probability(',I3,' layers)  = ',F7.3)");
  return format;
}

// One table: its heading, then per angle the angle (degrees), the total and `per_angle`
// values of `values` (angle j's at (j - 1) per_angle).
void write_table(std::ostream& out, const ResultContext& file, std::string_view what,
                 const std::vector<float>& totals, const std::vector<float>& values,
                 std::size_t per_angle) {
  out << heading().write({std::string_view("Angle   Total Yield"), what});
  out << Format("(/)").write();
  const std::vector<float>& angles = file.prepared.run.input.beam.detection_angles;
  for (std::size_t j = 0; j < angles.size(); ++j) {
    std::vector<Value> line{angles[j] / file.deg_to_rad, totals[j]};
    for (std::size_t k = 0; k < per_angle; ++k) line.emplace_back(values[j * per_angle + k]);
    out << row().write(line);
  }
}

}  // namespace

YieldSums sum_yields(const engine::Crystal& crystal, float atoms_per_layer,
                     const MonoResults& results) {
  const auto layers = static_cast<std::size_t>(crystal.layer_count);
  const std::size_t types = crystal.types.size();
  const auto angles = static_cast<std::size_t>(results.angle_count);
  YieldSums sums{std::vector<float>(angles, 0.0f), std::vector<float>(angles * layers, 0.0f),
                 std::vector<float>(angles * types, 0.0f)};
  for (std::int32_t j = 1; j <= results.angle_count; ++j) {
    const auto at = static_cast<std::size_t>(j - 1);
    for (std::int32_t a = 1; a <= results.atom_count; ++a) {
      const engine::Atom& atom = crystal.atoms[static_cast<std::size_t>(a - 1)];
      const float y = results.yield_at(a, j);
      sums.total[at] += y;
      sums.layer[at * layers + static_cast<std::size_t>(atom.layer - 1)] += y;
      sums.element[at * types + static_cast<std::size_t>(atom.type - 1)] += y;
    }
  }
  for (std::vector<float>* sum : {&sums.total, &sums.layer, &sums.element})
    for (float& value : *sum) value /= atoms_per_layer;
  return sums;
}

void write_yield_tables(std::ostream& out, const ResultContext& file) {
  const polysim::SimulationInput& input = file.prepared.run.input;
  const YieldSums sums = sum_yields(input.crystal, input.beam.atoms_per_layer, file.results);
  write_table(out, file, "Yield per atom (Layers)", sums.total, file.results.yield,
              static_cast<std::size_t>(file.results.atom_count));
  out << Format("(//)").write();
  write_table(out, file, "Yield per layer (Layers)", sums.total, sums.layer,
              static_cast<std::size_t>(input.crystal.layer_count));
  out << Format("(//)").write();
  write_table(out, file, "Yield per element (Layers)", sums.total, sums.element,
              input.crystal.types.size());
}

void write_shadowing_table(std::ostream& out, const ResultContext& file) {
  const engine::Crystal& crystal = file.prepared.run.input.crystal;
  const float atoms_per_layer = file.prepared.run.input.beam.atoms_per_layer;
  out << polysim::shadowing_heading().write();
  float total = 0.0f;
  for (std::int32_t l = 1; l <= crystal.layer_count; ++l) {
    out << layer_rule().write();
    float sum = 0.0f;
    for (std::int32_t i = 1; i <= crystal.cell_count_x; ++i)
      for (std::int32_t j = 1; j <= crystal.cell_count_y; ++j) {
        const std::int32_t a = crystal.cell(i, j, l);
        if (a == 0) continue;
        const engine::Atom& atom = crystal.atoms[static_cast<std::size_t>(a - 1)];
        const Amplitudes& s = file.prepared.input.amplitudes[static_cast<std::size_t>(a - 1)];
        const float p = file.results.hit_probability[static_cast<std::size_t>(a - 1)];
        out << polysim::atom_line().write({a, atom.type, atom.x, atom.y, atom.z, s.x, s.y, s.z, p});
        sum += p;
      }
    const float layer = sum / atoms_per_layer;
    out << layer_sum().write({l, layer});
    total += layer;
  }
  out << summed_layers().write({crystal.layer_count, total});
}

}  // namespace monosim
