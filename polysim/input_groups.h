// The read operations of the simulation input file, one function per group or series of
// groups. Range checks throw InvalidInput; malformed values throw textio::ReadError.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "polysim/simulation_input.h"
#include "textio/free_reader.h"

namespace polysim {

// What the counts of the dimension record are held against before any table exists.
struct InputLimits {
  double available_bytes = 0.0;      // memory for the run's tables
  std::optional<double> file_bytes;  // size of the input file, when it is a regular file
};

// The size of a regular file; none for a pipe or device, whose size says nothing.
std::optional<double> regular_file_bytes(const std::string& name);

// Groups 2 and 3; returns false when the option flags are not those of this program.
bool read_option_flags(textio::FreeReader& in, SimulationInput& input);
// Group 4, checked; sets the counts of the crystal and the model set.
void read_dimension_record(textio::FreeReader& in, SimulationInput& input,
                           const InputLimits& limits);
// Groups 5 to 14: types, overlayer, atoms, repeat distances, edges, geometry and beam, with
// their ranges checked; then the cell map and the detection angles are created.
void read_crystal_groups(textio::FreeReader& in, SimulationInput& input);
// The pieces of groups 5 to 14 that every simulation input shares: group 5 (atom types),
// groups 9 to 12 (repeat distances and edge lists, each list with one more slot for set-up
// to close), groups 13 and 14 (incidence, detection angles, atoms per layer, ion and fluxes;
// the first detection angle only). finish_crystal_groups checks the ranges of everything read
// so far and creates the cell map and the detection angles.
void read_atom_types(textio::FreeReader& in, SimulationInput& input);
// The first six values of atom a's record (group 8), starting its read operation: position and
// cell indices.
void read_atom_site(textio::FreeReader& in, engine::Atom& atom, std::int32_t a);
void read_cell_geometry(textio::FreeReader& in, engine::Crystal& crystal);
void read_geometry_and_beam(textio::FreeReader& in, engine::Beam& beam);
void finish_crystal_groups(SimulationInput& input);
// Groups 15 to 19: parameter descriptions, structure shifts, vibration amplitudes, checked.
void read_model_groups(textio::FreeReader& in, SimulationInput& input);

// Reads `count` items with read_one(item, k), k = 0..count - 1, appending each: a list grows
// only as far as its values have been read, whatever the count says.
template <typename T, typename ReadOne>
void read_list(std::vector<T>& list, std::int32_t count, ReadOne read_one) {
  constexpr std::int32_t kFirstReserve = 4096;
  list.clear();
  list.reserve(static_cast<std::size_t>(std::clamp(count, 0, kFirstReserve)));
  for (std::int32_t k = 0; k < count; ++k) {
    T item{};
    read_one(item, k);
    list.push_back(std::move(item));
  }
}

}  // namespace polysim
