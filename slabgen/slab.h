// The slab: the top layers of a crystal below a lattice plane, under the smallest rectangular
// surface cell with x along a chosen direction, with the cell grid the tracking walks.
#pragma once

#include <optional>
#include <stdexcept>
#include <vector>

#include "slabgen/lattice.h"
#include "slabgen/vec3.h"

namespace slabgen {

// A crystal face or cell that cannot be built; what() says why.
class SlabError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Surface axes as Cartesian unit vectors of the conventional cell's frame: x and y in the
// surface, depth into the crystal (x, y, depth right-handed), normal = -depth.
struct SurfaceFrame {
  Vec3 x, y, depth, normal;
  Vec3 to_surface(const Vec3& r) const { return {dot(r, x), dot(r, y), dot(r, depth)}; }
};

struct SlabAtom {
  double x = 0, y = 0, z = 0;  // Å, z the depth below layer 1
  int sublattice = 0;
  int layer = 0;  // 1-based
  int cell_i = 0, cell_j = 0;
};

struct Slab {
  SurfaceFrame frame;
  double repeat_x = 0, repeat_y = 0;  // Å
  std::vector<double> layer_depths;   // Å, one per layer and one for the atom plane below
  std::vector<SlabAtom> atoms;        // layer by layer, within a layer by y, then x
  std::vector<double> x_edges, y_edges, z_edges;
  double nearest_neighbour = 0;  // Å, the shortest distance between two atoms of the crystal

  int atoms_in_layer(int layer) const;
};

struct SlabRequest {
  Vec3 face;                        // Miller indices (hkl) on the conventional axes
  std::optional<Vec3> x_direction;  // [uvw] on the conventional axes; default: smallest cell
  int layers = 1;
  int termination = 1;  // which atom plane at or below the cell origin becomes layer 1
};

// Throws SlabError when x does not lie in the face, when no rectangular cell with sides up to
// 40 Å exists, or when the lattice has no atoms.
Slab build_slab(const Lattice& lattice, const SlabRequest& request);

}  // namespace slabgen
