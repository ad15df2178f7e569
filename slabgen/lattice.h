// Crystal lattices as a conventional cell with its full basis: fcc, bcc, hcp, diamond and a
// general basis of fractional coordinates. Miller indices of directions and planes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "slabgen/vec3.h"

namespace slabgen {

struct Site {
  Vec3 fractional;  // in the conventional cell
  int sublattice;   // 0-based: which element of the description sits here
};

struct Lattice {
  std::string name;  // "fcc", "bcc", "hcp", "diamond" or "basis"
  Axes axes;         // conventional cell, Å
  std::vector<Site> sites;
  int sublattices = 1;  // number of elements the description names
  bool hexagonal = false;

  // Fractional translations t (0 <= t < 1) that map the basis onto itself, elements
  // included; the zero translation first. Together with the whole-cell translations they are
  // every translation of the crystal.
  std::vector<Vec3> centrings() const;
};

// The conventional cell of a named lattice: cubic edge a; hcp also c (Å). Sites of fcc and
// bcc are one sublattice; diamond has two (the fcc sites and those shifted by a quarter body
// diagonal, for a zinc-blende crystal); hcp has one.
Lattice cubic_lattice(std::string_view name, double a);
Lattice hcp_lattice(double a, double c);
// An orthogonal cell a x b x c with the given sites.
Lattice basis_lattice(double a, double b, double c, std::vector<Site> sites, int sublattices);

// Miller indices "[1-10]", "[1 -1 0]", "(001)", "1,1,1": three integers, or four for a
// hexagonal lattice (hkil / [UVTW]), converted to the three-index form on the conventional
// axes. Throws std::invalid_argument naming the text.
Vec3 parse_direction(std::string_view text, bool hexagonal);
Vec3 parse_plane(std::string_view text, bool hexagonal);

// The smallest integer indices [uvw] on the conventional axes of the direction of Cartesian
// vector `v`; empty when no indices up to 60 describe it.
std::optional<std::array<long, 3>> integer_direction(const Lattice& lattice, const Vec3& v);

// The smallest integer indices of a direction given by Cartesian vector `v` (three-index on
// the conventional axes, or four-index [UVTW] for a hexagonal lattice), e.g. "[1-10]"; an
// empty text when no indices up to 60 describe it.
std::string direction_indices(const Lattice& lattice, const Vec3& v);

}  // namespace slabgen
