// Angles of the beam and of the detection scan from the directions of a description.
#include "slabgen/scan.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace slabgen {

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr double kAlong = 1.0e-6;  // sine of the largest angle still counted as "in the plane"

// Rounds away the last bits of trigonometry (so that 45 is written as 45.000, not -0.000 for
// 0) and keeps -180 < angle <= 180.
double clean_degrees(double angle) {
  angle = std::round(angle * 1.0e9) / 1.0e9;
  while (angle <= -180.0) angle += 360.0;
  while (angle > 180.0) angle -= 360.0;
  return angle + 0.0;
}

struct Leg {
  double polar;                   // degrees from the normal
  std::optional<double> azimuth;  // degrees, empty along the normal
};

// A direction of the conventional axes seen from the surface: `inward` picks the sense.
Leg leg_of(const Lattice& lattice, const SurfaceFrame& frame, const Vec3& uvw, bool inward,
           const char* what) {
  Vec3 v = unit(lattice.axes.to_cartesian(uvw));
  const Vec3 towards = inward ? frame.depth : frame.normal;
  if (dot(v, towards) < 0) v = -1.0 * v;
  if (dot(v, towards) < kAlong)
    throw SlabError(std::string(what) + " " + direction_indices(lattice, v) +
                    " runs along the surface");
  const Vec3 s = frame.to_surface(v);
  Leg leg{clean_degrees(std::acos(std::min(1.0, dot(v, towards))) / kDegree), std::nullopt};
  if (std::hypot(s[0], s[1]) > kAlong)
    leg.azimuth = clean_degrees(std::atan2(s[1], s[0]) / kDegree);
  return leg;
}

}  // namespace

ScanGeometry resolve_scan(const SlabSetup& setup, const SurfaceFrame& frame) {
  const Lattice& lattice = setup.lattice;
  ScanGeometry g;
  std::optional<double> azimuth = setup.beam.azimuth;
  if (setup.beam.along) {
    const Leg beam = leg_of(lattice, frame, *setup.beam.along, true, "the beam");
    if (beam.polar >= 90.0 - 1.0e-9) throw SlabError("the beam must enter the crystal");
    g.polar = beam.polar;
    if (beam.azimuth) azimuth = beam.azimuth;
  } else {
    g.polar = *setup.beam.polar;
  }
  g.step = setup.scan.step;
  g.count = setup.scan.count;
  g.first = setup.scan.first;
  if (setup.scan.across) {
    const Leg exit = leg_of(lattice, frame, *setup.scan.across, false, "the scan direction");
    double signed_exit = exit.polar;
    if (exit.azimuth) {
      if (!azimuth || g.polar == 0.0) azimuth = azimuth.value_or(*exit.azimuth);
      const double off = (*exit.azimuth - *azimuth) * kDegree;
      if (std::fabs(std::sin(off)) > kAlong)
        throw SlabError("the scan direction " +
                        direction_indices(lattice, lattice.axes.to_cartesian(*setup.scan.across)) +
                        " does not lie in the plane of incidence (azimuth " +
                        std::to_string(*azimuth) + " degrees)");
      if (std::cos(off) < 0) signed_exit = -exit.polar;
    }
    g.first = 180.0 - g.polar - signed_exit - 0.5 * g.step * (g.count - 1);
  }
  g.azimuth = clean_degrees(azimuth.value_or(0.0));
  g.first = std::round(g.first * 1.0e9) / 1.0e9 + 0.0;
  const double low = std::min(g.first, g.last()), high = std::max(g.first, g.last());
  if (low < 0.0 || high > 180.0)
    throw SlabError("detection angles " + std::to_string(low) + " to " + std::to_string(high) +
                    " leave the range 0 to 180 degrees");
  return g;
}

std::vector<BlockingDirection> blocking_directions(const Lattice& lattice, const Slab& slab,
                                                   const ScanGeometry& scan) {
  const double reach = 3.5 * slab.nearest_neighbour;
  const Vec3 along = std::cos(scan.azimuth * kDegree) * slab.frame.x +
                     std::sin(scan.azimuth * kDegree) * slab.frame.y;
  const Vec3 across = cross(slab.frame.normal, along);
  const double low = std::min(scan.first, scan.last()) - 1.0e-6;
  const double high = std::max(scan.first, scan.last()) + 1.0e-6;
  const int cells =
      3 + static_cast<int>(reach / std::min({norm(lattice.axes.a1), norm(lattice.axes.a2),
                                             norm(lattice.axes.a3)}));
  std::vector<BlockingDirection> out;
  for (const Site& from : lattice.sites)
    for (const Site& to : lattice.sites)
      for (int i = -cells; i <= cells; ++i)
        for (int j = -cells; j <= cells; ++j)
          for (int k = -cells; k <= cells; ++k) {
            const Vec3 v = lattice.axes.to_cartesian(to.fractional - from.fractional +
                                                     Vec3{double(i), double(j), double(k)});
            const double length = norm(v);
            if (length < 1.0e-6 || length > reach || dot(v, slab.frame.normal) <= 1.0e-6 ||
                std::fabs(dot(v, across)) > kAlong * length)
              continue;
            const double exit = std::atan2(dot(v, along), dot(v, slab.frame.normal)) / kDegree;
            const double phi = 180.0 - scan.polar - exit;
            if (phi < low || phi > high) continue;
            auto same = std::find_if(out.begin(), out.end(), [&](const BlockingDirection& b) {
              return std::fabs(b.exit_polar - exit) < 1.0e-6;
            });
            if (same == out.end())
              out.push_back({direction_indices(lattice, v), exit, phi, length});
            else if (length < same->spacing)
              same->spacing = length;
          }
  std::sort(out.begin(), out.end(), [](const BlockingDirection& a, const BlockingDirection& b) {
    return a.exit_polar < b.exit_polar;
  });
  return out;
}

}  // namespace slabgen
