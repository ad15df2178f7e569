// The sequence of reading monosim's input: comment, flags, counts, then the crystal groups,
// the shared ones by polysim's readers and checks, groups 7 and 8 in monosim's layout.
#include "monosim/input_reader.h"

#include <cmath>
#include <fstream>
#include <new>
#include <sstream>
#include <string>

#include "polysim/input_groups.h"
#include "polysim/input_values.h"
#include "polysim/run_errors.h"
#include "polysim/status_file.h"
#include "textio/fixed_text.h"
#include "textio/free_reader.h"

namespace monosim {

namespace {

constexpr std::size_t kCommentWidth = 80;
constexpr const char* kNoMemory =
    "Dimension record: the tables for these counts do not fit in memory";

std::string of_atom(const char* item, std::int32_t a) {
  return std::string(item) + " of atom " + std::to_string(a);
}

std::string text(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

void read_flags(textio::FreeReader& in, MonoInput& input) {
  std::int32_t unused[2] = {0, 0};
  in.begin();
  in.read(unused[0], "group 2 value");
  in.read(unused[1], "group 2 value");
  static const char* const kNames[8] = {"start_mode",
                                        "flag 2",
                                        "potential_selector",
                                        "trajectory_link_flag",
                                        "flag 5",
                                        "correlation_flag",
                                        "flag 7",
                                        "flag 8"};
  in.begin();
  for (int k = 0; k < 8; ++k) in.read(input.flags[static_cast<std::size_t>(k)], kNames[k]);
  engine::RunOptions& options = input.base.options;
  options.start_mode = 1;
  options.overlayer_flag = 0;
  options.potential_selector = input.flags[2];
}

void read_counts(textio::FreeReader& in, MonoInput& input, double available_bytes,
                 std::optional<double> file_bytes) {
  in.begin();
  for (int k = 1; k <= 19; ++k)
    in.read(input.record.n(k), "dimension record count N" + std::to_string(k));
  const polysim::DimensionRecord used = used_counts(input.record);
  polysim::check_dimension_record(used);
  if (file_bytes) polysim::check_file_capacity(used, *file_bytes);
  polysim::check_table_memory(used, available_bytes);
  input.base.dims = used;
  engine::Crystal& crystal = input.base.crystal;
  crystal.cell_count_x = used.n(3);
  crystal.cell_count_y = used.n(4);
  crystal.layer_count = used.n(5);
  engine::ModelSet& models = input.base.models;
  models.structure_count = 1;
  models.vibration_count = 1;
}

void read_atom(textio::FreeReader& in, engine::Atom& atom, Amplitudes& sigma, std::int32_t a) {
  polysim::read_atom_site(in, atom, a);
  in.read(sigma.x, of_atom("atom_sigma_x", a));
  in.read(sigma.y, of_atom("atom_sigma_y", a));
  in.read(sigma.z, of_atom("atom_sigma_z", a));
  in.read(atom.type, of_atom("atom_type", a));
  atom.change_class = 1;
}

void check_amplitudes(const Amplitudes& sigma, std::int32_t a) {
  const std::string atom = "Atom " + std::to_string(a) + ": ";
  polysim::check_amplitude(sigma.x, atom + "atom_sigma_x");
  polysim::check_amplitude(sigma.y, atom + "atom_sigma_y");
  polysim::check_amplitude(sigma.z, atom + "atom_sigma_z");
}

// Groups 6 to 8: the unused overlayer record, the correlation, the atoms.
void read_correlation_and_atoms(textio::FreeReader& in, MonoInput& input) {
  std::int32_t unused_type = 0;
  float unused_density = 0.0f;
  in.begin();
  in.read(unused_type, "overlayer_type");
  in.read(unused_density, "overlayer_density");
  in.begin();
  in.read(input.correlation_coefficient, "correlation_coefficient");
  in.read(input.correlation_distance, "correlation_distance");
  std::vector<engine::Atom>& atoms = input.base.crystal.atoms;
  polysim::read_list(atoms, input.base.dims.n(1), [&](engine::Atom& atom, std::int32_t k) {
    const std::int32_t a = k + 1;
    input.amplitudes.emplace_back();
    Amplitudes& sigma = input.amplitudes.back();
    read_atom(in, atom, sigma, a);
    polysim::check_atom(atom, a, input.base.dims);
    check_amplitudes(sigma, a);
    atom.sigma = std::fmax(sigma.x, std::fmax(sigma.y, sigma.z));
  });
}

// g = 1 / sqrt(1 - c^2) needs |c| < 1; the distance is squared, so its sign would be lost.
void check_correlation(const MonoInput& input) {
  if (!input.correlated()) return;
  const float c = input.correlation_coefficient;
  if (!(std::fabs(c) < 1.0f))
    throw polysim::InvalidInput("correlation_coefficient = " + text(c) +
                                ", must lie between -1 and 1 (both excluded)");
  const float distance = input.correlation_distance;
  if (!(distance >= 0.0f) || !std::isfinite(distance))
    throw polysim::InvalidInput("correlation_distance = " + text(distance) +
                                " Angstrom, must be finite and at least 0 Angstrom");
}

void read_groups_4_to_14(textio::FreeReader& in, MonoInput& input, polysim::StatusLines& status,
                         double available_bytes, std::optional<double> file_bytes) {
  read_counts(in, input, available_bytes, file_bytes);
  status.write_console_only({polysim::free_line("Arrays have been allocated")});
  polysim::read_atom_types(in, input.base);
  read_correlation_and_atoms(in, input);
  polysim::read_cell_geometry(in, input.base.crystal);
  polysim::read_geometry_and_beam(in, input.base.beam);
  polysim::finish_crystal_groups(input.base);
  check_correlation(input);
}

}  // namespace

polysim::DimensionRecord used_counts(const polysim::DimensionRecord& record) {
  polysim::DimensionRecord used = record;
  for (int k = 10; k <= 19; ++k) used.n(k) = 0;
  used.n(10) = 1;
  used.n(11) = 1;
  return used;
}

MonoInput read_mono_input(std::string_view input_path, polysim::StatusLines& status,
                          double available_bytes) {
  const std::string name(textio::trim_trailing(input_path));
  std::ifstream file(name);
  if (!file) throw polysim::FileError("cannot open input file " + name);
  textio::FreeReader in(file, name);
  MonoInput input;
  input.base.comment = textio::fixed_width(in.read_line(kCommentWidth, "comment"), kCommentWidth);
  read_flags(in, input);
  if (input.flags[6] != 0 || input.flags[7] != 0) {
    file.close();
    status.write_console_only({polysim::free_line("Wrong program")});
    throw RunStopped("wrong program");
  }
  try {
    polysim::check_options(input.base.options);
    read_groups_4_to_14(in, input, status, available_bytes, polysim::regular_file_bytes(name));
  } catch (const std::bad_alloc&) {
    throw polysim::InvalidInput(kNoMemory);
  } catch (const std::length_error&) {
    throw polysim::InvalidInput(kNoMemory);
  }
  status.write_console_only({polysim::free_line("Input File has beed successfully read in")});
  return input;
}

}  // namespace monosim
