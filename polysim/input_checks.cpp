// The range checks of the simulation input.
#include "polysim/input_checks.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace polysim {

namespace {

struct CountName {
  int index;
  std::string_view name;
};

// The counts that size a table, with their names; N14 and N15 are read and never used.
constexpr std::array<CountName, 17> kSizingCounts{{
    {1, "atom_count"},
    {2, "type_count"},
    {3, "cell_count_x"},
    {4, "cell_count_y"},
    {5, "layer_count"},
    {6, "x_edge_count"},
    {7, "y_edge_count"},
    {8, "z_edge_count"},
    {9, "angle_count"},
    {10, "structure_model_count"},
    {11, "vibration_model_count"},
    {12, "structure_param_count"},
    {13, "vibration_param_count"},
    {16, "structure_param_capacity"},
    {17, "vibration_param_capacity"},
    {18, "displaced_atom_count"},
    {19, "model_vibrated_atom_count"},
}};

std::string count_label(int k) {
  for (const CountName& c : kSizingCounts)
    if (c.index == k) return std::string(c.name) + " N" + std::to_string(k);
  return "N" + std::to_string(k);
}

std::string stated(const DimensionRecord& dims, int k) {
  return "Dimension record: " + count_label(k) + " = " + std::to_string(dims.n(k));
}

void require_at_least(const DimensionRecord& dims, int k, std::int32_t least) {
  if (dims.n(k) < least)
    throw InvalidInput(stated(dims, k) + ", must be at least " + std::to_string(least));
}

void require_one_more(const DimensionRecord& dims, int edges, int cells) {
  if (static_cast<std::int64_t>(dims.n(edges)) != static_cast<std::int64_t>(dims.n(cells)) + 1)
    throw InvalidInput(stated(dims, edges) + ", must be " + count_label(cells) +
                       " + 1 = " + std::to_string(static_cast<std::int64_t>(dims.n(cells)) + 1));
}

void require_relation(const DimensionRecord& dims, int k, int other, bool at_least) {
  const bool ok = at_least ? dims.n(k) >= dims.n(other) : dims.n(k) <= dims.n(other);
  if (!ok)
    throw InvalidInput(stated(dims, k) + (at_least ? ", must be at least " : ", must be at most ") +
                       count_label(other) + " = " + std::to_string(dims.n(other)));
}

void require_within(const std::string& what, std::int64_t value, std::int64_t high) {
  if (value < 1 || value > high)
    throw InvalidInput(what + " = " + std::to_string(value) + ", must be within 1.." +
                       std::to_string(high));
}

}  // namespace

void check_dimension_record(const DimensionRecord& dims) {
  for (const CountName& c : kSizingCounts) require_at_least(dims, c.index, 0);
  require_one_more(dims, 6, 3);
  require_one_more(dims, 7, 4);
  require_one_more(dims, 8, 5);
  for (int k : {9, 10, 11}) require_at_least(dims, k, 1);
  require_relation(dims, 16, 12, true);
  require_relation(dims, 17, 13, true);
  require_relation(dims, 18, 1, false);
  require_relation(dims, 19, 1, false);
  // Result files are numbered with four digits.
  const std::int64_t pairs = static_cast<std::int64_t>(dims.n(10)) * dims.n(11);
  if (pairs > 9999)
    throw InvalidInput("Dimension record: " + count_label(10) + " x " + count_label(11) + " = " +
                       std::to_string(pairs) + " model pairs, must be at most 9999");
}

double table_bytes(const DimensionRecord& dims) {
  auto n = [&dims](int k) { return static_cast<double>(dims.n(k)); };
  constexpr double kReal = 4.0;
  constexpr double kRings = 650.0;              // ring tables: 0.01 Å rings out to 6.5 Å
  constexpr double kDeflectionColumns = 10001;  // impact parameters 0..5 Å by 0.0005 Å
  const double per_atom = 64.0;                 // input and derived values of one atom
  const double per_type = kDeflectionColumns * kReal + 64.0;
  const double pairs = n(10) * n(11);
  double bytes = n(1) * per_atom + n(2) * per_type;
  bytes += n(3) * n(4) * n(5) * kReal + (n(6) + n(7) + n(8)) * kReal;
  // Model amplitudes and ring tables for atoms 1..max(N18, N19): displaced atoms beyond N19
  // get both, with their own amplitude.
  const double ringed = std::max(n(18), n(19));
  bytes += n(10) * n(18) * 3 * kReal + n(11) * ringed * 3 * kReal;
  bytes += (n(16) * (n(10) + 1) + n(17) * (n(11) + 1)) * 2 * kReal;
  bytes += pairs * n(1) * (2 + n(9)) * kReal;  // hit sums, probabilities and blocked yields
  bytes += n(9) * (1 + n(5) + n(2)) * kReal;   // signals per angle
  bytes += pairs * kReal + n(11) * kReal + kRings * ringed * (n(11) + 1) * kReal;
  return bytes;
}

double physical_memory_bytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page_size <= 0) return 16.0 * 1024 * 1024 * 1024;
  return static_cast<double>(pages) * static_cast<double>(page_size);
}

void check_table_memory(const DimensionRecord& dims, double available_bytes) {
  const double needed = table_bytes(dims);
  if (needed > available_bytes)
    throw InvalidInput("Dimension record: the counts need " +
                       std::to_string(std::llround(std::fmin(needed, 9.0e18))) +
                       " bytes of tables, more than the " +
                       std::to_string(std::llround(available_bytes)) + " bytes of memory");
}

double least_input_bytes(const DimensionRecord& dims) {
  auto n = [&dims](int k) { return static_cast<double>(dims.n(k)); };
  // Groups 5 (types), 8 (atoms), 15 and 16 (three records per parameter), 17 and 18 (one
  // record per model).
  const double records = n(2) + n(1) + 3.0 * (n(12) + n(13)) + n(10) + n(11);
  return 2.0 * records + 2.0 * (n(3) + n(4) + n(5));
}

void check_file_capacity(const DimensionRecord& dims, double file_bytes) {
  const double needed = least_input_bytes(dims);
  if (needed > file_bytes)
    throw InvalidInput("Dimension record: these counts need an input file of at least " +
                       std::to_string(std::llround(needed)) + " bytes, this one has " +
                       std::to_string(std::llround(file_bytes)));
}

void check_atom(const engine::Atom& atom, std::int32_t a, const DimensionRecord& dims) {
  const std::string what = "Atom " + std::to_string(a) + ": ";
  require_within(what + "atom_cell_i", atom.cell_i, dims.n(3));
  require_within(what + "atom_cell_j", atom.cell_j, dims.n(4));
  require_within(what + "atom_layer", atom.layer, dims.n(5));
  require_within(what + "atom_type", atom.type, dims.n(2));
}

void check_overlayer(const engine::RunOptions& options, const DimensionRecord& dims) {
  if (options.overlayer_flag == 1)
    require_within("overlayer_type", options.overlayer_type, dims.n(2));
}

void check_value_count(const std::string& what, std::int32_t m, std::int32_t model_count) {
  require_within(what + ": value count", m, model_count);
}

void check_choice(const std::string& what, std::int32_t model, std::int32_t choice,
                  std::int32_t m) {
  require_within(what + ", model " + std::to_string(model) + ": choice", choice, m);
}

}  // namespace polysim
