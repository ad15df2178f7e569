// Finding the smallest rectangular repeat cell of a face among the lattice translations.
#include "slabgen/surface_cell.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace slabgen {

namespace {

constexpr double kTolerance = 1.0e-6;  // Å

// The shortest translation of `in_plane` along the unit vector `u`, or 0 when there is none.
double shortest_along(const std::vector<Vec3>& in_plane, const Vec3& u) {
  double best = 0;
  for (const Vec3& t : in_plane) {
    const double along = dot(t, u);
    if (along > kTolerance && norm(t - along * u) < kTolerance && (best == 0 || along < best))
      best = along;
  }
  return best;
}

SurfaceCell cell_along(const std::vector<Vec3>& in_plane, const Vec3& normal, const Vec3& x) {
  SurfaceCell cell;
  cell.frame.normal = normal;
  cell.frame.depth = -1.0 * normal;
  cell.frame.x = unit(x);
  cell.frame.y = cross(cell.frame.depth, cell.frame.x);
  cell.repeat_x = shortest_along(in_plane, cell.frame.x);
  cell.repeat_y = shortest_along(in_plane, cell.frame.y);
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
  std::vector<Vec3> in_plane;
  for (const Vec3& t : lattice_translations(lattice, kLongestTranslation))
    if (std::fabs(dot(t, normal)) < kTolerance) in_plane.push_back(t);
  if (in_plane.empty()) throw SlabError("the face has no lattice translations up to 40 A");
  // Shortest first; among equal lengths the one with the most positive components first, so
  // that a default x reads [110] rather than [-1-10].
  std::sort(in_plane.begin(), in_plane.end(), [](const Vec3& a, const Vec3& b) {
    if (std::fabs(norm(a) - norm(b)) > kTolerance) return norm(a) < norm(b);
    for (int i = 0; i < 3; ++i)
      if (std::fabs(a[i] - b[i]) > kTolerance) return a[i] > b[i];
    return false;
  });

  if (x_direction) {
    const Vec3 x = lattice.axes.to_cartesian(*x_direction);
    if (std::fabs(dot(unit(x), normal)) > kTolerance)
      throw SlabError("x = " + direction_indices(lattice, x) + " does not lie in the face");
    SurfaceCell cell = cell_along(in_plane, normal, x);
    if (cell.repeat_x == 0 || cell.repeat_y == 0)
      throw SlabError("no rectangular surface cell with sides up to 40 A has x along " +
                      direction_indices(lattice, x));
    return cell;
  }
  // Try x along every translation up to twice the shortest; keep the smallest rectangle,
  // the shorter x side on a tie, the first found after that.
  std::optional<SurfaceCell> best;
  for (const Vec3& t : in_plane) {
    if (norm(t) > 2.0 * norm(in_plane.front()) + kTolerance) break;
    const SurfaceCell cell = cell_along(in_plane, normal, t);
    if (cell.repeat_x == 0 || cell.repeat_y == 0) continue;
    const double area = cell.repeat_x * cell.repeat_y;
    if (!best || area < best->repeat_x * best->repeat_y - kTolerance) best = cell;
  }
  if (!best) throw SlabError("the face has no rectangular surface cell with sides up to 40 A");
  return *best;
}

}  // namespace slabgen
