// Plane regrouping along one axis.
#include "structfit/regroup_planes.h"

#include <algorithm>
#include <vector>

namespace structfit {
namespace {

constexpr float kFirstTolerance = 0.7f;  // Å
constexpr float kShrink = 0.9f;

// Plane numbers (1-based) of the ascending `sorted` values under tolerance t. A value takes
// the plane of the last lower value closer than t; in ascending order that is its
// predecessor whenever any lower value is that close.
std::vector<int> planes_of_sorted(const std::vector<float>& sorted, float t) {
  std::vector<int> plane(sorted.size(), 1);
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    plane[i] = sorted[i] - sorted[i - 1] < t ? plane[i - 1] : plane[i - 1] + 1;
  }
  return plane;
}

// The highest value placed in plane 1 minus the lowest.
float lowest_plane_span(const std::vector<float>& sorted, const std::vector<int>& plane) {
  std::size_t last = 0;
  while (last + 1 < sorted.size() && plane[last + 1] == 1) ++last;
  return sorted[last] - sorted[0];
}

}  // namespace

void regroup_planes(BaseCrystal& crystal, int axis) {
  std::vector<BaseAtom>& atoms = crystal.atoms;
  if (atoms.empty()) return;
  std::vector<float> sorted;
  for (const BaseAtom& atom : atoms) sorted.push_back(atom.position[axis]);
  std::sort(sorted.begin(), sorted.end());
  float t = kFirstTolerance;
  std::vector<int> plane = planes_of_sorted(sorted, t);
  while (lowest_plane_span(sorted, plane) > t) {
    t *= kShrink;
    plane = planes_of_sorted(sorted, t);
  }
  const int count = plane.back();
  std::vector<float> sum(static_cast<std::size_t>(count), 0.0f);
  std::vector<int> members(static_cast<std::size_t>(count), 0);
  for (BaseAtom& atom : atoms) {
    const auto at = std::lower_bound(sorted.begin(), sorted.end(), atom.position[axis]);
    const int p = plane[static_cast<std::size_t>(at - sorted.begin())];
    atom.cell[axis] = p;
    sum[static_cast<std::size_t>(p - 1)] += atom.position[axis];
    ++members[static_cast<std::size_t>(p - 1)];
  }
  std::vector<float>& edges = crystal.edges[axis];
  edges.resize(static_cast<std::size_t>(count));
  for (int p = 0; p < count; ++p) edges[p] = sum[p] / static_cast<float>(members[p]);
  const float origin = edges[0];
  for (BaseAtom& atom : atoms) atom.position[axis] -= origin;
  for (int p = 1; p < count; ++p) edges[p] -= origin;
  edges[0] = 0.0f;
  crystal.n(3 + axis) = count;
  crystal.n(6 + axis) = count + 1;
}

}  // namespace structfit
