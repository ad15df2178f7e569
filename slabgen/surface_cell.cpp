// Finding the smallest rectangular repeat cell of a face among the lattice translations.
#include "slabgen/surface_cell.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace slabgen {

namespace {

constexpr double kTolerance = 1.0e-6;  // Å
// Default x directions are tried among the in-plane translations up to this length, Å.
constexpr double kLongestDefaultX = 12.0;

// Whether fractional vector t is a translation of the crystal: a whole-cell translation plus
// one of the centrings.
bool is_translation(const Vec3& t, const std::vector<Vec3>& centrings) {
  for (const Vec3& c : centrings) {
    bool whole = true;
    for (int i = 0; i < 3; ++i)
      whole = whole && std::fabs(t[i] - c[i] - std::round(t[i] - c[i])) < kTolerance;
    if (whole) return true;
  }
  return false;
}

// The shortest translation along the unit vector `u`, Å, or 0 when the direction is not a
// lattice direction or its shortest translation is longer than kLongestTranslation. Along the
// smallest integer indices n, every translation is a multiple of n / q for a whole q; centred
// cells need q up to 4, hexagonal ones 3.
double shortest_along(const Lattice& lattice, const std::vector<Vec3>& centrings, const Vec3& u) {
  const std::optional<std::array<long, 3>> n = integer_direction(lattice, u);
  if (!n) return 0;
  const Vec3 indices{double((*n)[0]), double((*n)[1]), double((*n)[2])};
  for (int q = 12; q >= 1; --q) {
    const Vec3 t = (1.0 / q) * indices;
    if (!is_translation(t, centrings)) continue;
    const double length = norm(lattice.axes.to_cartesian(t));
    return length <= kLongestTranslation ? length : 0;
  }
  return 0;
}

SurfaceCell cell_along(const Lattice& lattice, const Vec3& normal, const Vec3& x) {
  const std::vector<Vec3> centrings = lattice.centrings();
  SurfaceCell cell;
  cell.frame.normal = normal;
  cell.frame.depth = -1.0 * normal;
  cell.frame.x = unit(x);
  cell.frame.y = cross(cell.frame.depth, cell.frame.x);
  cell.repeat_x = shortest_along(lattice, centrings, cell.frame.x);
  cell.repeat_y = shortest_along(lattice, centrings, cell.frame.y);
  return cell;
}

}  // namespace

double smallest_cell_height(const Axes& axes) {
  const double volume = std::fabs(dot(axes.a1, cross(axes.a2, axes.a3)));
  const double widest = std::max({norm(cross(axes.a1, axes.a2)), norm(cross(axes.a2, axes.a3)),
                                  norm(cross(axes.a3, axes.a1))});
  return volume / widest;
}

std::vector<Vec3> lattice_translations(const Lattice& lattice, double longest) {
  const int reach = static_cast<int>(std::ceil(longest / smallest_cell_height(lattice.axes))) + 1;
  const std::vector<Vec3> centrings = lattice.centrings();
  std::vector<Vec3> out;
  for (int i = -reach; i <= reach; ++i)
    for (int j = -reach; j <= reach; ++j)
      for (int k = -reach; k <= reach; ++k)
        for (const Vec3& c : centrings) {
          const Vec3 t = lattice.axes.to_cartesian(Vec3{double(i), double(j), double(k)} + c);
          const double length = norm(t);
          if (length > kTolerance && length <= longest) out.push_back(t);
        }
  return out;
}

SurfaceCell surface_cell(const Lattice& lattice, const Vec3& face,
                         const std::optional<Vec3>& x_direction) {
  const Vec3 normal = unit(lattice.axes.plane_normal(face));
  if (x_direction) {
    const Vec3 x = lattice.axes.to_cartesian(*x_direction);
    if (std::fabs(dot(unit(x), normal)) > kTolerance)
      throw SlabError("x = " + direction_indices(lattice, x) + " does not lie in the face");
    SurfaceCell cell = cell_along(lattice, normal, x);
    if (cell.repeat_x == 0 || cell.repeat_y == 0)
      throw SlabError("no rectangular surface cell with sides up to 40 A has x along " +
                      direction_indices(lattice, x));
    return cell;
  }
  std::vector<Vec3> in_plane;
  for (const Vec3& t : lattice_translations(lattice, kLongestDefaultX))
    if (std::fabs(dot(t, normal)) < kTolerance) in_plane.push_back(t);
  // Shortest first; among equal lengths the one with the most positive components first, so
  // that a default x reads [110] rather than [-1-10].
  std::sort(in_plane.begin(), in_plane.end(), [](const Vec3& a, const Vec3& b) {
    if (std::fabs(norm(a) - norm(b)) > kTolerance) return norm(a) < norm(b);
    for (int i = 0; i < 3; ++i)
      if (std::fabs(a[i] - b[i]) > kTolerance) return a[i] > b[i];
    return false;
  });
  // x along each of them in turn; the smallest rectangle wins, the first found on a tie.
  std::optional<SurfaceCell> best;
  for (const Vec3& t : in_plane) {
    const SurfaceCell cell = cell_along(lattice, normal, t);
    if (cell.repeat_x == 0 || cell.repeat_y == 0) continue;
    const double area = cell.repeat_x * cell.repeat_y;
    if (!best || area < best->repeat_x * best->repeat_y - kTolerance) best = cell;
  }
  if (!best)
    throw SlabError("no rectangular surface cell with x along a translation up to 12 A; give x");
  return *best;
}

}  // namespace slabgen
