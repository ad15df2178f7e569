// The slab builder against crystallography: the smallest rectangular cells, atoms per layer
// and interlayer spacings of the low-index faces, the cell grid the tracking relies on, and
// the blocking directions with their angles.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "slabgen/debye.h"
#include "slabgen/scan.h"
#include "slabgen/slab.h"

namespace {

using slabgen::Vec3;

constexpr double kA = 4.0;  // Å, a cubic lattice constant with easy numbers
const double kR2 = std::sqrt(2.0), kR3 = std::sqrt(3.0), kR6 = std::sqrt(6.0);

struct FaceCase {
  const char* name;
  slabgen::Lattice lattice;
  Vec3 face;
  std::optional<Vec3> x;
  double repeat_x, repeat_y;
  int atoms_per_layer;
  std::vector<double> spacings;  // repeating pattern of interlayer spacings, Å
};

std::vector<FaceCase> face_cases() {
  const auto fcc = slabgen::cubic_lattice("fcc", kA);
  const auto bcc = slabgen::cubic_lattice("bcc", kA);
  const auto diamond = slabgen::cubic_lattice("diamond", kA);
  const double c = 2.5 * std::sqrt(8.0 / 3.0);
  const auto hcp = slabgen::hcp_lattice(2.5, c);
  const auto cubic = slabgen::basis_lattice(kA, kA, kA, {{{0, 0, 0}, 0}}, 1);
  return {
      {"fcc(001) x [100]", fcc, {0, 0, 1}, Vec3{1, 0, 0}, kA, kA, 2, {kA / 2}},
      {"fcc(001) smallest", fcc, {0, 0, 1}, std::nullopt, kA / kR2, kA / kR2, 1, {kA / 2}},
      {"fcc(110)", fcc, {1, 1, 0}, Vec3{1, -1, 0}, kA / kR2, kA, 1, {kA / (2 * kR2)}},
      {"fcc(111)", fcc, {1, 1, 1}, Vec3{1, -1, 0}, kA / kR2, kA * kR6 / 2, 2, {kA / kR3}},
      {"bcc(001)", bcc, {0, 0, 1}, Vec3{1, 0, 0}, kA, kA, 1, {kA / 2}},
      {"bcc(110)", bcc, {1, 1, 0}, Vec3{0, 0, 1}, kA, kA * kR2, 2, {kA / kR2}},
      {"bcc(111)", bcc, {1, 1, 1}, Vec3{1, -1, 0}, kA * kR2, kA * kR6, 2, {kA / (2 * kR3)}},
      {"diamond(001)", diamond, {0, 0, 1}, Vec3{1, 1, 0}, kA / kR2, kA / kR2, 1, {kA / 4}},
      {"diamond(111)",
       diamond,
       {1, 1, 1},
       Vec3{1, -1, 0},
       kA / kR2,
       kA * kR6 / 2,
       2,
       {kA * kR3 / 12, kA * kR3 / 4}},
      {"hcp(0001)", hcp, {0, 0, 1}, Vec3{1, 0, 0}, 2.5, 2.5 * kR3, 2, {c / 2}},
      {"simple cubic basis (011)", cubic, {0, 1, 1}, Vec3{1, 0, 0}, kA, kA * kR2, 1, {kA / kR2}},
  };
}

TEST(SlabCrystallography, SmallestRectangularCellsLayersAndSpacings) {
  for (const FaceCase& f : face_cases()) {
    SCOPED_TRACE(f.name);
    const slabgen::Slab slab = slabgen::build_slab(f.lattice, {f.face, f.x, 6, 1});
    EXPECT_NEAR(slab.repeat_x, f.repeat_x, 1e-9);
    EXPECT_NEAR(slab.repeat_y, f.repeat_y, 1e-9);
    for (int layer = 1; layer <= 6; ++layer)
      EXPECT_EQ(slab.atoms_in_layer(layer), f.atoms_per_layer);
    for (std::size_t l = 0; l + 1 < slab.layer_depths.size(); ++l)
      EXPECT_NEAR(slab.layer_depths[l + 1] - slab.layer_depths[l],
                  f.spacings[l % f.spacings.size()], 1e-9);
  }
}

// Every atom sits inside the repeat cell on the starting edge of its cell along x, y and z, no
// cell holds two atoms, and layer 1 has an atom at the origin.
TEST(SlabCrystallography, CellGridHoldsEachAtomOnItsStartingEdge) {
  for (const FaceCase& f : face_cases()) {
    SCOPED_TRACE(f.name);
    const slabgen::Slab slab = slabgen::build_slab(f.lattice, {f.face, f.x, 5, 1});
    std::set<std::tuple<int, int, int>> cells;
    EXPECT_EQ(slab.x_edges.front(), 0.0);
    EXPECT_EQ(slab.y_edges.front(), 0.0);
    EXPECT_EQ(slab.atoms.front().x, 0.0);
    EXPECT_EQ(slab.atoms.front().y, 0.0);
    for (const slabgen::SlabAtom& a : slab.atoms) {
      EXPECT_TRUE(cells.insert({a.cell_i, a.cell_j, a.layer}).second);
      EXPECT_NEAR(slab.x_edges[a.cell_i - 1], a.x, 1e-9);
      EXPECT_NEAR(slab.y_edges[a.cell_j - 1], a.y, 1e-9);
      EXPECT_LT(a.x, slab.repeat_x);
      EXPECT_LT(a.y, slab.repeat_y);
      EXPECT_EQ(slab.z_edges[a.layer - 1], a.z);
    }
  }
}

TEST(SlabCrystallography, RefusesAnXOutsideTheFace) {
  const auto fcc = slabgen::cubic_lattice("fcc", kA);
  EXPECT_THROW(slabgen::build_slab(fcc, {{1, 1, 1}, Vec3{1, 0, 0}, 4, 1}), slabgen::SlabError);
}

// Diamond(111) ends on a bilayer (narrow gap first); the second termination cuts it.
TEST(SlabCrystallography, TerminationChoosesTheTopAtomPlane) {
  const auto diamond = slabgen::cubic_lattice("diamond", kA);
  const auto first = slabgen::build_slab(diamond, {{1, 1, 1}, Vec3{1, -1, 0}, 3, 1});
  const auto second = slabgen::build_slab(diamond, {{1, 1, 1}, Vec3{1, -1, 0}, 3, 2});
  EXPECT_NEAR(first.layer_depths[1] - first.layer_depths[0], kA * kR3 / 12, 1e-9);
  EXPECT_NEAR(second.layer_depths[1] - second.layer_depths[0], kA * kR3 / 4, 1e-9);
}

double angle_between(const Vec3& a, const Vec3& b) {
  return std::acos(slabgen::dot(a, b) / (slabgen::norm(a) * slabgen::norm(b))) * 180.0 / M_PI;
}

// The rows a scan crosses, at the polar angles crystallography gives them from the face
// normal (computed here from the indices), for normal incidence.
TEST(SlabCrystallography, BlockingDirectionsOfTheScanPlane) {
  struct Case {
    const char* name;
    Vec3 face, x;
    double azimuth;
    std::vector<std::pair<std::string, Vec3>> rows;
  };
  const std::vector<Case> cases = {
      {"fcc(001), (010) plane",
       {0, 0, 1},
       {1, 0, 0},
       0,
       {{"[301]", {3, 0, 1}}, {"[101]", {1, 0, 1}}, {"[102]", {1, 0, 2}}, {"[103]", {1, 0, 3}}}},
      {"fcc(110), (001) plane",
       {1, 1, 0},
       {1, -1, 0},
       0,
       {{"[100]", {1, 0, 0}}, {"[310]", {3, 1, 0}}, {"[210]", {2, 1, 0}}}},
      {"fcc(111), (1-10) plane",
       {1, 1, 1},
       {1, -1, 0},
       90,
       {{"[001]", {0, 0, 1}}, {"[114]", {1, 1, 4}}, {"[112]", {1, 1, 2}}, {"[110]", {1, 1, 0}}}},
  };
  const auto fcc = slabgen::cubic_lattice("fcc", kA);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const slabgen::Slab slab = slabgen::build_slab(fcc, {c.face, c.x, 4, 1});
    // Scattering angles 95 .. 265: exit angles 85 .. -85 degrees, both sides of the normal.
    const slabgen::ScanGeometry scan{0.0, c.azimuth, 95.0, 1.0, 171};
    const auto found = slabgen::blocking_directions(fcc, slab, scan);
    for (const auto& [indices, uvw] : c.rows) {
      const auto at = std::find_if(found.begin(), found.end(),
                                   [&](const auto& b) { return b.indices == indices; });
      ASSERT_NE(at, found.end()) << indices;
      EXPECT_NEAR(std::fabs(at->exit_polar), angle_between(uvw, c.face), 1e-6) << indices;
      EXPECT_NEAR(at->scattering, 180.0 - at->exit_polar, 1e-6);
    }
  }
}

// Copper: 0.077 Å at 293 K with a Debye temperature of 343 K (the bundled example); the
// classical limit 3 hbar^2 T / (M k Theta^2) at high temperature; the zero-point motion at 0 K.
TEST(SlabCrystallography, DebyeAmplitudes) {
  EXPECT_NEAR(slabgen::debye_rms_amplitude(63.546, 293, 343), 0.0769, 0.0001);
  const double classical = std::sqrt(3 * 0.7635 * 3000 / (343.0 * 343.0));  // hbar^2/(M k) in Å^2 K
  EXPECT_NEAR(slabgen::debye_rms_amplitude(63.546, 3000, 343), classical, 0.002 * classical);
  EXPECT_NEAR(slabgen::debye_rms_amplitude(63.546, 0, 343), std::sqrt(3 * 0.7635 / (4 * 343.0)),
              1e-4);
  EXPECT_NEAR(slabgen::debye_function(1.0), 0.777505, 1e-6);
}

}  // namespace
