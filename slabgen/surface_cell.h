// The rectangular repeat cell of a crystal face: the in-plane lattice translations and the
// shortest ones along x and along y.
#pragma once

#include <optional>
#include <vector>

#include "slabgen/lattice.h"
#include "slabgen/slab.h"

namespace slabgen {

// Lattice translations are searched up to this length, Å.
inline constexpr double kLongestTranslation = 40.0;

struct SurfaceCell {
  SurfaceFrame frame;
  double repeat_x = 0, repeat_y = 0;  // Å
};

// Every lattice translation of the crystal up to `longest` Å, the zero vector excluded.
std::vector<Vec3> lattice_translations(const Lattice& lattice, double longest);

// The height of the conventional cell between its closest pair of faces, Å: a box of
// ceil(r / height) cells each way holds every point within r of the origin.
double smallest_cell_height(const Axes& axes);

// The cell of face (hkl) with x along `x_direction`, or along the in-plane translation that
// gives the smallest rectangle. Throws SlabError.
SurfaceCell surface_cell(const Lattice& lattice, const Vec3& face,
                         const std::optional<Vec3>& x_direction);

}  // namespace slabgen
