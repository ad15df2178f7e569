// The crystal and beam of a data set as its base file (a simulation input file) holds them,
// every value kept, so that the fitter can alter it and write it out again.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "structfit/fit_setup.h"

namespace structfit {

// Atoms a base file may hold: the plane regrouping works in tables of this size.
inline constexpr std::int32_t kMostAtoms = 1000;

struct BaseAtom {
  std::array<float, 3> position{};     // x, y, z (depth), Å
  std::array<std::int32_t, 3> cell{};  // cell indices along x, y, z (the layer)
  std::array<float, 3> amplitude{};    // rms amplitude and the two values after it, Å
  std::int32_t type = 0;
};

struct TypeRecord {
  std::int32_t z = 0;
  float mass = 0.0f;
};

struct BaseCrystal {
  std::string title;  // 80 columns
  std::array<std::int32_t, 2> unused_pair{};
  std::array<std::int32_t, 8> flags{};
  std::array<std::int32_t, 19> counts{};  // N1..N19; n(k) is Nk
  std::vector<TypeRecord> types;          // N2 records
  TypeRecord overlayer;                   // overlayer type and areal density
  std::array<float, 2> unused_reals{};
  std::vector<BaseAtom> atoms;  // N1 records
  std::array<float, 2> repeat{};
  std::array<std::vector<float>, 3> edges;  // x, y and z edge lists (N3, N4, N5 values)
  std::array<float, 5> geometry{};          // azimuth, polar, first angle, step, atoms/layer
  std::int32_t ion_z = 0;
  std::array<float, 4> beam{};  // ion mass, energy, shadowing and blocking flux

  std::int32_t n(int k) const { return counts[static_cast<std::size_t>(k - 1)]; }
  std::int32_t& n(int k) { return counts[static_cast<std::size_t>(k - 1)]; }
};

// Reads records 1 to 14 of a base file free-form; whatever follows is not read. Throws
// SetupRefused for an atom count outside 1..kMostAtoms or a negative count of types or cells,
// textio::ReadError for a record that does not read.
BaseCrystal read_base_crystal(const std::filesystem::path& path);

// Refuses a base file that `setup` cannot be applied to: a parameter table with more rows than
// the file has atoms, or more element columns than it has atom types (a short result line
// has one column per type).
void check_base_against_setup(const BaseCrystal& crystal, const FitSetup& setup,
                              const std::filesystem::path& path);

}  // namespace structfit
