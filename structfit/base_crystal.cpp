// Free-form reading of a base file's crystal and beam records, and its checks against the
// fit set-up.
#include "structfit/base_crystal.h"

#include <fstream>

#include "structfit/fit_errors.h"
#include "textio/free_reader.h"

namespace structfit {
namespace {

constexpr std::size_t kTitleWidth = 80;

class BaseReader {
 public:
  BaseReader(std::istream& in, std::string source) : in_(in, source), source_(std::move(source)) {}

  BaseCrystal read() {
    BaseCrystal c;
    c.title = in_.read_line(kTitleWidth, "title (record 1)");
    read_record(c.unused_pair, "record 2");
    read_record(c.flags, "option flags (record 3)");
    read_record(c.counts, "dimension record (record 4)");
    check_counts(c);
    for (std::int32_t t = 1; t <= c.n(2); ++t) {
      c.types.push_back(read_type("atom type " + std::to_string(t) + " (record 5)"));
    }
    c.overlayer = read_type("overlayer (record 6)");
    read_record(c.unused_reals, "record 7");
    for (std::int32_t a = 1; a <= c.n(1); ++a) c.atoms.push_back(read_atom(a));
    read_record(c.repeat, "repeat distances (record 9)");
    static const char* const kEdges[3] = {"x edges (record 10)", "y edges (record 11)",
                                          "z edges (record 12)"};
    for (int axis = 0; axis < 3; ++axis) {
      c.edges[axis].resize(static_cast<std::size_t>(c.n(3 + axis)));
      in_.begin();
      for (float& edge : c.edges[axis]) in_.read(edge, kEdges[axis]);
    }
    read_record(c.geometry, "angles and atoms per layer (record 13)");
    in_.begin();
    in_.read(c.ion_z, "ion_z (record 14)");
    for (float& value : c.beam) in_.read(value, "ion and fluxes (record 14)");
    return c;
  }

 private:
  template <typename T, std::size_t N>
  void read_record(std::array<T, N>& values, const char* item) {
    in_.begin();
    for (T& value : values) in_.read(value, item);
  }

  TypeRecord read_type(const std::string& item) {
    TypeRecord type;
    in_.begin();
    in_.read(type.z, item);
    in_.read(type.mass, item);
    return type;
  }

  BaseAtom read_atom(std::int32_t a) {
    const std::string item = "atom " + std::to_string(a) + " (record 8)";
    BaseAtom atom;
    in_.begin();
    for (float& value : atom.position) in_.read(value, item);
    for (std::int32_t& index : atom.cell) in_.read(index, item);
    for (float& value : atom.amplitude) in_.read(value, item);
    in_.read(atom.type, item);
    return atom;
  }

  // The counts that size what is read next.
  void check_counts(const BaseCrystal& c) const {
    check(c.n(1), 1, kMostAtoms, "N1 (atoms)");
    check(c.n(2), 1, kMostAtoms, "N2 (atom types)");
    check(c.n(3), 0, kMostAtoms, "N3 (cells along x)");
    check(c.n(4), 0, kMostAtoms, "N4 (cells along y)");
    check(c.n(5), 0, kMostAtoms, "N5 (layers)");
  }

  void check(std::int32_t value, std::int32_t least, std::int32_t most,
             const std::string& name) const {
    if (value >= least && value <= most) return;
    throw SetupRefused(" " + source_ + ", line " + std::to_string(in_.line_number()) +
                       ": dimension record (record 4), " + name + " = " + std::to_string(value) +
                       " is outside " + std::to_string(least) + ".." + std::to_string(most));
  }

  textio::FreeReader in_;
  std::string source_;
};

}  // namespace

BaseCrystal read_base_crystal(const std::filesystem::path& path) {
  std::ifstream file(path);
  if (!file) throw SetupRefused(" cannot open base file " + path.string());
  return BaseReader(file, path.string()).read();
}

void check_base_against_setup(const BaseCrystal& crystal, const FitSetup& setup,
                              const std::filesystem::path& path) {
  std::string source(" ");
  source.append(path.string()).append(": ");
  for (std::size_t j = 0; j < setup.parameters.size(); ++j) {
    const std::size_t rows = setup.parameters[j].rows.size();
    if (rows > crystal.atoms.size()) {
      throw SetupRefused(source + "parameter " + std::to_string(j + 1) +
                         " has NAT = " + std::to_string(rows) + " rows, more than the file's " +
                         std::to_string(crystal.atoms.size()) + " atoms");
    }
  }
  if (setup.elements.size() > crystal.types.size()) {
    throw SetupRefused(source + "NELEM = " + std::to_string(setup.elements.size()) +
                       " element columns, more than the file's " +
                       std::to_string(crystal.types.size()) + " atom types");
  }
}

}  // namespace structfit
