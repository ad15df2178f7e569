// The blocked-yield tables at the head of a result file (per angle: total with elements,
// total with layers, total with every atom) and the count of clipped yields.
#include <algorithm>
#include <vector>

#include "polysim/result_file.h"
#include "textio/format_writer.h"

namespace polysim {

namespace {

using textio::Format;
using textio::Value;

constexpr std::int32_t kAtomsOnFirstLine = 100;

const Format& element_heading() {
  static const Format format(
      "(/,/,'  Angle   Total signal Elements',/,' ',' (deg)     (layers)    ',97('-'),/,' ')");
  return format;
}
const Format& layer_heading() {
  static const Format format(
      "(/,/,'  Angle   Total signal Layers',/,' ',' (deg)     (layers)    ',97('-'),/,' ')");
  return format;
}
// Six signals a line; more continue on further lines.
const Format& signal_line() {
  static const Format format("(1X, F7.2, 1X, F7.3, 1X, 6(F7.3, 1X)))");
  return format;
}
const Format& atom_heading() {
  static const Format format(
      "(/,/,'  Angle   Total signal','  atom 1    atom 2    atom 3    atom 4    atom 5  ','  "
      "atom 6    atom 7    atom 8    atom 9   atom 10',/,' ',' (deg)     (layers)    ',97('-'),/,"
      "' ')");
  return format;
}
const Format& atom_line() {
  static const Format format("(1X,F7.2,1X,F7.3,1X,100(F5.3,1X))");
  return format;
}
// Atoms beyond the first hundred, 20 a line.
const Format& further_atom_lines() {
  static const Format format("(23X,20(F7.3,3X))");
  return format;
}
const Format& bad_results() {
  static const Format format(
      "(/,/,/,' Bad results:',/,' -------------------------------------------------',/,' values "
      "greater than 10 = ',I4,/,' -------------------------------------------------',/,'')");
  return format;
}

// Angle j in degrees and the total signal: the first two values of every table line.
std::vector<Value> line_start(const ResultFileContext& file, std::int32_t j) {
  const float angle = file.input.beam.detection_angles.at(static_cast<std::size_t>(j - 1));
  return {angle / file.deg_to_rad, file.signals.total_at(j)};
}

void write_element_table(std::ostream& out, const ResultFileContext& file) {
  out << element_heading().write();
  for (std::int32_t j = 1; j <= file.results.angle_count(); ++j) {
    std::vector<Value> values = line_start(file, j);
    for (std::int32_t t = 1; t <= file.signals.type_count; ++t)
      values.emplace_back(file.signals.element_at(t, j));
    out << signal_line().write(values);
  }
}

void write_layer_table(std::ostream& out, const ResultFileContext& file) {
  out << layer_heading().write();
  for (std::int32_t j = 1; j <= file.results.angle_count(); ++j) {
    std::vector<Value> values = line_start(file, j);
    for (std::int32_t L = 1; L <= file.signals.layer_count; ++L)
      values.emplace_back(file.signals.layer_at(L, j));
    out << signal_line().write(values);
  }
}

std::vector<Value> yields(const ResultFileContext& file, std::int32_t first, std::int32_t last,
                          std::int32_t j) {
  std::vector<Value> values;
  for (std::int32_t a = first; a <= last; ++a)
    values.emplace_back(file.results.block_yield(file.vibration_model, file.structure_model, a, j));
  return values;
}

void write_atom_table(std::ostream& out, const ResultFileContext& file) {
  out << atom_heading().write();
  const std::int32_t atoms = file.results.atom_count();
  for (std::int32_t j = 1; j <= file.results.angle_count(); ++j) {
    std::vector<Value> values = line_start(file, j);
    const std::vector<Value> first = yields(file, 1, std::min(kAtomsOnFirstLine, atoms), j);
    values.insert(values.end(), first.begin(), first.end());
    out << atom_line().write(values);
    for (std::int32_t c = kAtomsOnFirstLine; c < atoms; c += kAtomsOnFirstLine)
      out << further_atom_lines().write(
          yields(file, c + 1, std::min(c + kAtomsOnFirstLine, atoms), j));
  }
}

}  // namespace

void write_blocking_tables(std::ostream& out, const ResultFileContext& file) {
  write_element_table(out, file);
  write_layer_table(out, file);
  write_atom_table(out, file);
  out << bad_results().write({file.signals.bad_count});
}

}  // namespace polysim
