// Regrouping atoms into planes along one axis.
#include "structfit/regroup_planes.h"

#include <gtest/gtest.h>

#include "crystal_case.h"

namespace {

using structfit_test::crystal_at;

struct Regrouped {
  std::vector<float> coordinates;
  std::vector<std::int32_t> cells;
  std::vector<float> edges;
  std::int32_t count = 0, edge_count = 0;
};

// Atoms at `x` (y = z = 0) regrouped along x.
Regrouped regroup_x(const std::vector<float>& x) {
  std::vector<std::array<float, 3>> positions;
  for (float v : x) positions.push_back({v, 0.0f, 0.0f});
  structfit::BaseCrystal crystal = crystal_at(positions);
  structfit::regroup_planes(crystal, 0);
  Regrouped r;
  for (const structfit::BaseAtom& atom : crystal.atoms) {
    r.coordinates.push_back(atom.position[0]);
    r.cells.push_back(atom.cell[0]);
  }
  r.edges = crystal.edges[0];
  r.count = crystal.n(3);
  r.edge_count = crystal.n(6);
  return r;
}

TEST(RegroupPlanes, AtomsWithinTheToleranceFormOnePlaneAtZero) {
  const Regrouped r = regroup_x({0.5f, 0.1f, 0.3f});
  EXPECT_EQ(r.count, 1);
  EXPECT_EQ(r.edge_count, 2);
  EXPECT_EQ(r.edges, std::vector<float>{0.0f});
  EXPECT_EQ(r.cells, (std::vector<std::int32_t>{1, 1, 1}));
  // Every coordinate shifted by the plane's mean, 0.3.
  EXPECT_NEAR(r.coordinates[0], 0.2f, 1e-6f);
  EXPECT_NEAR(r.coordinates[1], -0.2f, 1e-6f);
  EXPECT_NEAR(r.coordinates[2], 0.0f, 1e-6f);
}

TEST(RegroupPlanes, TwoPlanesCloserThanTheToleranceMerge) {
  const Regrouped r = regroup_x({0.0f, 0.6f});
  EXPECT_EQ(r.count, 1);
  EXPECT_NEAR(r.coordinates[0], -0.3f, 1e-6f);
}

TEST(RegroupPlanes, ToleranceShrinksUntilTheLowestPlaneSpansNoMoreThanIt) {
  // 0, 0.6 and 1.2 chain into one plane spanning 1.2 at 0.7 and at 0.63; at 0.567 the
  // 0.6 gaps separate them.
  const Regrouped r = regroup_x({1.2f, 0.0f, 0.6f});
  EXPECT_EQ(r.count, 3);
  EXPECT_EQ(r.edge_count, 4);
  EXPECT_EQ(r.cells, (std::vector<std::int32_t>{3, 1, 2}));
  EXPECT_EQ(r.edges, (std::vector<float>{0.0f, 0.6f, 1.2f}));
  // Only the lowest plane is tested: a chain above it stays one plane.
  const Regrouped upper = regroup_x({0.0f, 2.0f, 2.6f, 3.2f});
  EXPECT_EQ(upper.count, 2);
  EXPECT_EQ(upper.cells, (std::vector<std::int32_t>{1, 2, 2, 2}));
}

TEST(RegroupPlanes, EdgesAreThePlaneMeansShiftedByTheLowestPlane) {
  const Regrouped r = regroup_x({3.2f, 1.0f, 3.0f, 1.0f});
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(r.edge_count, 3);
  EXPECT_EQ(r.cells, (std::vector<std::int32_t>{2, 1, 2, 1}));
  ASSERT_EQ(r.edges.size(), 2u);
  EXPECT_EQ(r.edges[0], 0.0f);
  EXPECT_NEAR(r.edges[1], 2.1f, 1e-6f);
  EXPECT_NEAR(r.coordinates[0], 2.2f, 1e-6f);
  EXPECT_EQ(r.coordinates[1], 0.0f);
}

TEST(RegroupPlanes, EachAxisKeepsItsOwnCounts) {
  structfit::BaseCrystal crystal =
      crystal_at({{0.0f, 0.0f, 0.0f}, {0.0f, 1.8f, 1.8f}, {0.0f, 0.0f, 3.6f}});
  structfit::regroup_planes(crystal, 1);
  structfit::regroup_planes(crystal, 2);
  EXPECT_EQ(crystal.n(3), 0);  // x untouched
  EXPECT_EQ(crystal.n(4), 2);
  EXPECT_EQ(crystal.n(7), 3);
  EXPECT_EQ(crystal.n(5), 3);
  EXPECT_EQ(crystal.n(8), 4);
  EXPECT_EQ(crystal.atoms[2].cell, (std::array<std::int32_t, 3>{0, 1, 3}));
}

}  // namespace
