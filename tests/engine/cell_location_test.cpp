// Cell search, folding into the repeat cell and the periodic images of the cells at the
// ends of a row.
#include "engine/cell_location.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/cell_lookup.h"

namespace {

using engine::locate_cell;

const std::vector<float> kEdges{0.0f, 1.0f, 2.5f, 4.0f};  // B(1..4)

TEST(LocateCell, FindsTheEdgeIntervalFromAnyStart) {
  const struct {
    float x;
    std::int32_t start, expected;
  } cases[] = {
      {0.5f, 4, 2}, {0.5f, 1, 2}, {3.0f, 1, 4}, {3.0f, 2, 4},  // searched down and up
      {2.5f, 3, 4},                                            // on the current edge: one on
      {2.5f, 1, 3},  // reached from below: B(2) < x <= B(3)
      {2.5f, 4, 4},  // reached from above: B(3) <= x < B(4)
      {4.0f, 4, 4},  // last edge stays at n
      {0.0f, 1, 2}, {0.0f, 3, 2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(locate_cell(kEdges, c.x, c.start), c.expected) << c.x << " from " << c.start;
}

TEST(LocateCell, NeverLeavesTheList) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(locate_cell(kEdges, -7.0f, 3), 1);
  EXPECT_EQ(locate_cell(kEdges, 1.0e30f, 1), 4);
  EXPECT_EQ(locate_cell(kEdges, inf, 2), 4);
  EXPECT_EQ(locate_cell(kEdges, -inf, 2), 1);
  EXPECT_EQ(locate_cell(kEdges, nan, 3), 3);
  EXPECT_EQ(locate_cell(kEdges, 0.5f, 99), 2);  // start limited to 1..n first
  EXPECT_EQ(locate_cell(kEdges, 3.0f, -5), 4);
  EXPECT_EQ(locate_cell({}, 1.0f, 3), 1);
  EXPECT_EQ(engine::search_upward(kEdges, 2.5f, 2), 3);  // the grid's upward search
  EXPECT_EQ(engine::search_upward(kEdges, 0.5f, 3), 3);  // never goes down
  EXPECT_EQ(engine::search_upward(kEdges, 9.0f, 2), 4);
}

TEST(WrapPeriodic, FoldsIntoTheRepeatCell) {
  const float p = 3.0f;
  const struct {
    float x, expected;
  } cases[] = {
      {0.0f, 3.0f},  {3.0f, 0.0f}, {-3.0f, 3.0f},  // non-positive multiples become P
      {-0.1f, 2.9f}, {1.5f, 1.5f}, {4.5f, 1.5f},  {7.25f, 1.25f}, {-4.0f, 2.0f}, {2.999f, 2.999f},
  };
  const engine::PeriodicFold fold = engine::prepare_fold(p);
  for (const auto& c : cases)
    EXPECT_NEAR(engine::wrap_periodic(fold, c.x), c.expected, 2e-6f) << c.x;
  EXPECT_EQ(engine::wrap_periodic(engine::prepare_fold(0.0f), 5.0f),
            5.0f);  // no period: left alone
  EXPECT_EQ(engine::wrap_periodic(engine::prepare_fold(-2.0f), 5.0f), 5.0f);
}

TEST(NearestInteger, RoundsHalvesAwayFromZero) {
  const struct {
    float v, expected;
  } cases[] = {{0.5f, 1.0f},   {-0.5f, -1.0f},      {1.5f, 2.0f},   {2.5f, 3.0f},
               {-2.5f, -3.0f}, {0.49999997f, 0.0f}, {-1.2f, -1.0f}, {8388609.0f, 8388609.0f}};
  for (const auto& c : cases) EXPECT_EQ(engine::nearest_integer(c.v), c.expected) << c.v;
  EXPECT_TRUE(std::isnan(engine::nearest_integer(std::numeric_limits<float>::quiet_NaN())));
}

TEST(CellLookup, EndIndicesAreImagesOneRepeatAway) {
  engine::Crystal crystal;
  crystal.cell_count_x = 3;
  crystal.cell_count_y = 2;
  crystal.layer_count = 4;
  crystal.repeat_x = 6.0f;
  crystal.repeat_y = 4.0f;
  const engine::CellLookup cells = engine::make_cell_lookup(crystal);
  const struct {
    const std::vector<engine::CellView>& views;
    std::vector<std::size_t> offsets;
    std::vector<float> shifts;
  } rows[] = {
      {cells.x, {2, 0, 1, 2, 0}, {6.0f, 0.0f, 0.0f, 0.0f, -6.0f}},  // cell (i, 1, 1) at i - 1
      {cells.y, {3, 0, 3, 0}, {4.0f, 0.0f, 0.0f, -4.0f}},           // cell (1, j, 1) at 3 (j - 1)
  };
  for (const auto& row : rows) {
    ASSERT_EQ(row.views.size(), row.offsets.size());
    for (std::size_t k = 0; k < row.offsets.size(); ++k) {
      EXPECT_EQ(row.views[k].offset, row.offsets[k]) << k;
      EXPECT_EQ(row.views[k].shift, row.shifts[k]) << k;
    }
  }
  EXPECT_EQ(cells.layer, (std::vector<std::size_t>{0, 6, 12, 18}));
  // The offsets agree with the crystal's own cell index.
  crystal.cell_atom.assign(24, 0);
  EXPECT_EQ(cells.x[3].offset + cells.y[2].offset + cells.layer[2], crystal.cell_index(3, 2, 3));
}

}  // namespace
