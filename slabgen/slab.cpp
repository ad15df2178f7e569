// The atoms of the slab, folded into the surface cell, and the cell grid: every distinct x
// and y of an atom starts a cell, and every atom plane starts a layer, so that each atom sits
// on the starting edge of its cell. An ion examines its own cell and the next one along each
// axis, so it always examines the atoms on both sides of it; and it looks up its lateral
// cells where it crosses an atom plane, so the atom it is about to meet is among them at
// every polar angle the layer-by-layer walk covers (with layer edges midway between planes,
// an ion bound for an atom of a densely gridded face, such as fcc(111) with six rows of
// cells, crosses the edge two rows away from it and misses it).
#include "slabgen/slab.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "slabgen/surface_cell.h"

namespace slabgen {

namespace {

constexpr double kSame = 1.0e-5;     // Å: coordinates closer than this coincide
constexpr double kDeepest = 1000.0;  // Å: the deepest slab built

double fold(double v, double period) {
  v -= std::floor(v / period) * period;
  return (v > period - kSame || v < kSame) ? 0.0 : v;
}

bool inside(double v, double period) {
  return v > -kSame && v < period + kSame;
}

struct Point {
  double x, y, d;
  int sublattice;
};

// Every atom of the crystal with depth -kSame..deepest in the repeat cell; sorted by depth,
// then y, then x, each once.
std::vector<Point> crystal_points(const Lattice& lattice, const SurfaceCell& cell, double deepest) {
  const double reach_length = std::hypot(cell.repeat_x, cell.repeat_y) + deepest +
                              norm(lattice.axes.a1 + lattice.axes.a2 + lattice.axes.a3);
  const int reach =
      static_cast<int>(std::ceil(reach_length / smallest_cell_height(lattice.axes))) + 1;
  std::vector<Point> points;
  for (int i = -reach; i <= reach; ++i)
    for (int j = -reach; j <= reach; ++j)
      for (int k = -reach; k <= reach; ++k)
        for (const Site& s : lattice.sites) {
          const Vec3 r =
              lattice.axes.to_cartesian(Vec3{double(i), double(j), double(k)} + s.fractional);
          const Vec3 p = cell.frame.to_surface(r);
          // Every atom has an image in the repeat cell, so only those inside it are kept.
          if (p[2] < -kSame || p[2] > deepest || !inside(p[0], cell.repeat_x) ||
              !inside(p[1], cell.repeat_y))
            continue;
          points.push_back(
              {fold(p[0], cell.repeat_x), fold(p[1], cell.repeat_y), p[2], s.sublattice});
        }
  const auto key = [](const Point& p) {
    return std::make_tuple(std::lround(p.d / kSame), std::lround(p.y / kSame),
                           std::lround(p.x / kSame));
  };
  std::sort(points.begin(), points.end(),
            [&](const Point& a, const Point& b) { return key(a) < key(b); });
  points.erase(std::unique(points.begin(), points.end(),
                           [&](const Point& a, const Point& b) { return key(a) == key(b); }),
               points.end());
  return points;
}

std::vector<double> distinct(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::vector<double> out;
  for (double v : values)
    if (out.empty() || v - out.back() > kSame) out.push_back(v);
  return out;
}

int index_of(const std::vector<double>& sorted, double v) {
  for (std::size_t i = 0; i < sorted.size(); ++i)
    if (std::fabs(sorted[i] - v) <= kSame) return static_cast<int>(i);
  return -1;
}

std::vector<double> depth_levels(const std::vector<Point>& points) {
  std::vector<double> depths;
  for (const Point& p : points) depths.push_back(p.d);
  return distinct(depths);
}

double nearest_neighbour(const Lattice& lattice) {
  double best = 0;
  for (const Site& s : lattice.sites)
    for (const Site& o : lattice.sites)
      for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j)
          for (int k = -1; k <= 1; ++k) {
            const double d = norm(lattice.axes.to_cartesian(
                o.fractional + Vec3{double(i), double(j), double(k)} - s.fractional));
            if (d > kSame && (best == 0 || d < best)) best = d;
          }
  return best;
}

// Every atom plane from the termination down to one plane below the slab.
std::vector<Point> slab_points(const Lattice& lattice, const SurfaceCell& cell,
                               const SlabRequest& request, std::vector<double>& levels) {
  const std::size_t needed = static_cast<std::size_t>(request.termination + request.layers);
  for (double deepest = 1.0 * static_cast<double>(needed); deepest <= 2 * kDeepest; deepest *= 2) {
    std::vector<Point> points = crystal_points(lattice, cell, deepest);
    levels = depth_levels(points);
    if (levels.size() > needed) {  // the deepest level may be incomplete; it is never used
      levels.assign(levels.begin() + request.termination - 1, levels.begin() + needed);
      return points;
    }
  }
  throw SlabError("the slab would reach deeper than 1000 A");
}

void shift_origin_to_top_atom(std::vector<SlabAtom>& atoms, const SurfaceCell& cell) {
  const SlabAtom origin = atoms.front();  // layer 1, smallest y, then smallest x
  for (SlabAtom& a : atoms) {
    a.x = fold(a.x - origin.x, cell.repeat_x);
    a.y = fold(a.y - origin.y, cell.repeat_y);
  }
  std::sort(atoms.begin(), atoms.end(), [](const SlabAtom& a, const SlabAtom& b) {
    return std::make_tuple(a.layer, std::lround(a.y / kSame), std::lround(a.x / kSame)) <
           std::make_tuple(b.layer, std::lround(b.y / kSame), std::lround(b.x / kSame));
  });
}

void build_grid(Slab& slab) {
  std::vector<double> xs, ys;
  for (const SlabAtom& a : slab.atoms) {
    xs.push_back(a.x);
    ys.push_back(a.y);
  }
  slab.x_edges = distinct(xs);
  slab.y_edges = distinct(ys);
  for (SlabAtom& a : slab.atoms) {
    a.cell_i = index_of(slab.x_edges, a.x) + 1;
    a.cell_j = index_of(slab.y_edges, a.y) + 1;
  }
  const std::vector<double>& z = slab.layer_depths;
  slab.z_edges.assign(z.begin(), z.end() - 1);
}

}  // namespace

int Slab::atoms_in_layer(int layer) const {
  return static_cast<int>(std::count_if(atoms.begin(), atoms.end(),
                                        [layer](const SlabAtom& a) { return a.layer == layer; }));
}

Slab build_slab(const Lattice& lattice, const SlabRequest& request) {
  if (lattice.sites.empty()) throw SlabError("the lattice has no atoms");
  const SurfaceCell cell = surface_cell(lattice, request.face, request.x_direction);
  std::vector<double> levels;
  const std::vector<Point> points = slab_points(lattice, cell, request, levels);
  Slab slab;
  slab.frame = cell.frame;
  slab.repeat_x = cell.repeat_x;
  slab.repeat_y = cell.repeat_y;
  for (double d : levels) slab.layer_depths.push_back(d - levels.front());
  for (const Point& p : points) {
    const int level = index_of(levels, p.d);
    if (level < 0 || level >= request.layers) continue;
    slab.atoms.push_back({p.x, p.y, slab.layer_depths[level], p.sublattice, level + 1, 0, 0});
  }
  shift_origin_to_top_atom(slab.atoms, cell);
  build_grid(slab);
  slab.nearest_neighbour = nearest_neighbour(lattice);
  return slab;
}

}  // namespace slabgen
