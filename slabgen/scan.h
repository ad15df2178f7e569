// Beam and detection geometry in the surface frame, and the blocking directions a scan crosses.
// Exit directions lie in the plane of incidence: an ion leaves at the polar angle
// 180 - polar - phi from the surface normal, phi the scattering angle, on the side the beam
// moves to (negative: on the side it comes from).
#pragma once

#include <string>
#include <vector>

#include "slabgen/setup.h"
#include "slabgen/slab.h"

namespace slabgen {

struct ScanGeometry {
  double polar = 0;    // degrees from the inward normal
  double azimuth = 0;  // degrees from x, -180 < azimuth <= 180
  double first = 0;    // scattering angle of the first detection angle, degrees
  double step = 0;
  int count = 0;
  double last() const { return first + (count - 1) * step; }
};

struct BlockingDirection {
  std::string indices;    // e.g. "[101]"
  double exit_polar = 0;  // degrees from the outward normal, signed as above
  double scattering = 0;  // the detection angle at which the scan crosses it, degrees
  double spacing = 0;     // Å, the distance between atoms along the row
};

// Throws SlabError when the beam or the scan direction does not leave a valid geometry: a beam
// along the surface, an exit direction outside the plane of incidence or along the surface, a
// detection angle outside 0 .. 180.
ScanGeometry resolve_scan(const SlabSetup& setup, const SurfaceFrame& frame);

// Rows of atoms (spacing up to 3.5 nearest-neighbour distances) along exit directions that
// lie in the plane of incidence and within the scan, ordered by exit angle.
std::vector<BlockingDirection> blocking_directions(const Lattice& lattice, const Slab& slab,
                                                   const ScanGeometry& scan);

}  // namespace slabgen
