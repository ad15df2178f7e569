// Walking ions through small crystals: the cells examined in each mode, the number of steps
// an ion takes, where grid ions start, and the collision geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <vector>

#include "engine/beam_setup.h"
#include "engine/multi_model_accounting.h"
#include "engine/partner_search.h"
#include "engine/walk.h"
#include "tracking_case.h"

namespace {

using engine::StepResult;
using engine::WalkMode;
using engine_test::kDegree;
using engine_test::TrackingCase;

// The atoms of a block with the shifts of their images, in search order.
std::vector<engine::BlockAtom> atoms_of(const engine::CandidateBlock& block) {
  return {block.atoms.begin(), block.atoms.end()};
}

TEST(CandidateBlock, OccupiedCellsAndImagesOfEachModeInSearchOrder) {
  TrackingCase k(6.0f, 4.0f, {0.0f, 2.0f, 4.0f}, {0.0f, 2.0f}, {0.0f, 1.0f, 2.0f});
  k.add_atom(5.0f, 3.0f, 1.0f, 3, 2, 2, 0.0f);  // 1
  k.add_atom(1.0f, 1.0f, 1.0f, 1, 1, 2, 0.0f);  // 2
  k.add_atom(1.0f, 3.0f, 0.0f, 1, 2, 1, 0.0f);  // 3
  k.add_atom(5.0f, 1.0f, 1.0f, 3, 1, 2, 0.0f);  // 4
  k.add_atom(1.0f, 1.0f, 2.0f, 1, 1, 3, 0.0f);  // 5
  k.add_atom(5.0f, 1.0f, 0.0f, 3, 1, 1, 0.0f);  // 6
  k.derive();                                   // the cell map
  const engine::CellLookup cells = engine::make_cell_lookup(k.crystal);
  engine::IonState ion;
  ion.kx = 4;  // beyond the last x-cell: cell 1 one repeat on (shift -6)
  ion.ky = 1;  // ky - 1 = 0: cell 2 one repeat back (shift +4)
  ion.layer = 2;
  using Atoms = std::vector<engine::BlockAtom>;
  // x-cells 3 and 1 (image), y-cells 2 (image) and 1, layer 2; cells (1, 2, 2) is empty.
  EXPECT_EQ(atoms_of(engine::candidate_block(WalkMode::kZ, ion, cells)),
            (Atoms{{1, 0.0f, 4.0f}, {4, 0.0f, 0.0f}, {2, -6.0f, 0.0f}}));
  // x-cell 1 (image) only, layers 1 and 2.
  EXPECT_EQ(atoms_of(engine::candidate_block(WalkMode::kX, ion, cells)),
            (Atoms{{3, -6.0f, 4.0f}, {2, -6.0f, 0.0f}}));
  ion.layer = 4;  // below the last layer: only layer 3; y-cell 1 only
  EXPECT_EQ(atoms_of(engine::candidate_block(WalkMode::kY, ion, cells)), (Atoms{{5, -6.0f, 0.0f}}));
  ion.layer = 1;  // at the top: only layer 1
  EXPECT_EQ(atoms_of(engine::candidate_block(WalkMode::kY, ion, cells)), (Atoms{{6, 0.0f, 0.0f}}));
  ion.kx = 9;  // outside the lookup: nothing
  EXPECT_TRUE(engine::candidate_block(WalkMode::kX, ion, cells).atoms.empty());
  ion.kx = 2;
  ion.ky = -1;
  EXPECT_TRUE(engine::candidate_block(WalkMode::kZ, ion, cells).atoms.empty());
}

// An empty 2 x 2 x 3 grid (4 Å repeats, edges at 0 and 2 Å) and one ion (N = 0) from the
// centre of the cell: the partner searches count the steps of its walk.
std::int64_t steps_of_one_ion(float polar, float azimuth) {
  TrackingCase k(4.0f, 4.0f, {0.0f, 2.0f}, {0.0f, 2.0f}, {0.0f, 1.0f, 2.0f});
  k.derive();
  k.set_tables(120.0f * kDegree, 0.1f * kDegree);
  k.aim(polar, azimuth, 120.0f * kDegree, 0);
  const engine::HitTally tally = k.launch(1);
  EXPECT_EQ(tally.ions_run, 1);
  return tally.partner_searches;
}

TEST(Walk, StepCountsOfTheModes) {
  // Z mode: one step per layer.
  EXPECT_EQ(steps_of_one_ion(0.0f, 0.0f), 3);
  EXPECT_EQ(steps_of_one_ion(30.0f * kDegree, 1.0f), 3);
  // X and Y modes with slope 4 from z_start = -R / sin θ to z_end = R (no atoms: z_max = 0),
  // R = 0.5375 Å: one step at every 2 Å edge plane the line crosses above z_end, one every
  // 0.5 Å of depth, the first at the start (x = 2 or y = 2, on an edge): three planes.
  const float grazing = std::atan(4.0f);
  for (const float azimuth : {0.0f, 90.0f, 180.0f, 270.0f})
    EXPECT_EQ(steps_of_one_ion(grazing, azimuth * kDegree), 3) << azimuth;
  // Slope 8: a plane every 0.25 Å of depth, five of them above z_end.
  EXPECT_EQ(steps_of_one_ion(std::atan(8.0f), 0.0f), 5);
  // Moving up in X mode never reaches the crystal: the ion ends before any step.
  EXPECT_EQ(steps_of_one_ion(100.0f * kDegree, 0.0f), 0);
}

TEST(StartGrid, OneIonAtTheCentreHitsAnAtomThere) {
  // The only ion of N = 0 passes right through the atom at the centre of the 3 x 2 Å cell:
  // D_h = |h|^2 rounds to exponent 0, so the hit is F0 exactly.
  for (const float x : {1.5f, 0.5f}) {
    TrackingCase k(3.0f, 2.0f, {0.0f}, {0.0f}, {-0.5f});
    k.add_atom(x, 1.0f, 0.0f, 1, 1, 1, 0.1f);
    k.derive();
    k.set_tables(120.0f * kDegree, 0.1f * kDegree);
    k.aim(0.0f, 0.0f, 120.0f * kDegree, 0);
    const engine::HitTally tally = k.launch(7);
    if (x == 1.5f)
      EXPECT_EQ(tally.hit(1, 1, 1), tally.hit_norm);
    else
      EXPECT_LT(tally.hit(1, 1, 1), 1e-20f * tally.hit_norm);  // 1 Å away: nothing
  }
}

TEST(StartGrid, RegularPointsLandOnTheirSites) {
  // 2 x 2 points at (0.5, 0.5) .. (1.5, 1.5); one atom at each of two points of them, one in
  // between. Only ions through a site hit it.
  TrackingCase k(2.0f, 2.0f, {0.0f, 1.0f}, {0.0f, 1.0f}, {-0.5f});
  k.add_atom(1.5f, 0.5f, 0.0f, 2, 1, 1, 0.05f);
  k.add_atom(0.5f, 1.5f, 0.0f, 1, 2, 1, 0.05f);
  k.add_atom(1.0f, 1.0f, 0.0f, 2, 2, 1, 0.05f);
  k.derive();
  k.set_tables(120.0f * kDegree, 0.1f * kDegree);
  k.aim(0.0f, 0.0f, 120.0f * kDegree, 4);
  const engine::HitTally tally = k.launch(3);
  EXPECT_EQ(tally.ions_run, 4);
  EXPECT_EQ(tally.hit(1, 1, 1), tally.hit_norm);
  EXPECT_EQ(tally.hit(1, 1, 2), tally.hit_norm);
  EXPECT_LT(tally.hit(1, 1, 3), 1e-20f);
}

TEST(StartGrid, RandomStartsCoverTheCellEvenly) {
  // Random starts, one per grid cell: the hitting probability of a lone atom comes out as 1
  // (less the exp table's half step, 0.4 %), wherever the atom sits.
  for (const float x : {0.0f, 0.77f}) {
    TrackingCase k(2.0f, 2.0f, {0.0f}, {0.0f}, {-0.5f});
    k.add_atom(x, 0.3f, 0.0f, 1, 1, 1, 0.1f);
    k.derive();
    k.set_tables(120.0f * kDegree, 0.1f * kDegree);
    k.aim(10.0f * kDegree, 20.0f * kDegree, 120.0f * kDegree, 20000);
    k.run.start_mode = 1;
    EXPECT_NEAR(k.hitting_probability(k.launch(11), 1), 0.996, 0.01) << x;
  }
}

TEST(Walk, GrazingIonsExamineEachCellOnce) {
  // An atom whose hit reach (sqrt(20.8) 0.3 Å = 1.37 Å) exceeds the interaction radius
  // (0.54 Å): undeflected near passages count, so a cell examined twice would count them
  // twice. Its hitting probability stays at most 1 in every direction of travel.
  for (const float azimuth : {0.0f, 90.0f, 180.0f, 270.0f}) {
    const float polar = 60.0f * kDegree;
    TrackingCase k(6.0f, 6.0f, {0.0f, 3.0f}, {0.0f, 3.0f}, {-0.5f});
    k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, 0.3f);
    k.derive();
    k.set_tables(120.0f * kDegree, 0.1f * kDegree);
    k.aim(polar, azimuth * kDegree, 100.0f * kDegree, 20000);
    k.run.start_mode = 1;
    const double probability = k.hitting_probability(k.launch(13), 1);
    EXPECT_LT(probability, 1.0) << azimuth;
    EXPECT_GT(probability, 0.85) << azimuth;
  }
}

// One atom at the origin with no vibration, and an ion set up to meet it.
struct Encounter {
  TrackingCase k{4.0f, 4.0f, {-2.0f}, {-2.0f}, {-1.0f}};
  engine::IonState ion;
  engine::HitTally tally{1, 1, 1};
  engine::IonStream stream{engine::run_key(5, 0), 0};

  explicit Encounter(float polar) {
    k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, 0.0f);
    k.derive();
    k.set_tables(120.0f * kDegree, 0.1f * kDegree);
    const std::vector<float> cutoff{0.0f};
    const engine::ScatteringReference u = engine::reference_direction(0.0f, polar + 2.0f, cutoff);
    ion = engine::set_up_beam(0.0f, polar, polar + 2.0f, u, 0.0f, 0.5f, 1, 1).ion;
  }
  // Ion on the line through the point (x, y, -1) along its direction; one step on the atom.
  StepResult step(float x, float y) {
    ion.x = x;
    ion.y = y;
    ion.z = -1.0f;
    const engine::CellLookup cells = engine::make_cell_lookup(k.crystal);
    std::vector<engine::BlockAtom> atoms;  // cell (1, 1, 1) only
    engine::append_occupied_cells(k.crystal, std::span(cells.x).subspan(1, 1),
                                  std::span(cells.y).subspan(1, 1), cells.layer, atoms);
    const engine::CandidateBlock block{atoms};
    const engine::TrackingContext context{
        k.crystal, k.models, engine_test::fixed_tables(), k.tables, cells, {}, 1.0f};
    const engine::MultiModelAccounting policy(context);
    engine::MultiModelAccounting::IonMemory memory;
    engine::RunCounts counts;
    return engine::step_to_partner(ion, block, context, policy, memory, stream, tally, counts);
  }
};

TEST(Collision, NormalIncidenceTakesTheTabulatedDeflection) {
  Encounter e(0.0f);
  const float p = 0.05f;
  ASSERT_EQ(e.step(p, 0.0f), StepResult::kCollision);
  EXPECT_FLOAT_EQ(e.ion.x, p);  // closest approach, in the atom's depth plane
  EXPECT_FLOAT_EQ(e.ion.y, 0.0f);
  EXPECT_FLOAT_EQ(e.ion.z, 0.0f);
  EXPECT_FLOAT_EQ(e.ion.direction.slope_x, e.k.tables.deflection.at_impact(1, p));
  EXPECT_EQ(e.ion.direction.slope_y, 0.0f);
  EXPECT_EQ(e.ion.kx, 1);
  EXPECT_EQ(e.ion.layer, 1);
}

TEST(Collision, ObliqueIonMovesToTheClosestApproach) {
  const float polar = 35.0f * kDegree;
  Encounter e(polar);
  const engine::IonDirection before = e.ion.direction;
  // The line through (x, y, -1) passes the origin at impact parameter |(x, y, -1) x d|.
  const float x = -std::tan(polar) + 0.03f, y = 0.04f;
  ASSERT_EQ(e.step(x, y), StepResult::kCollision);
  const float along = e.ion.x * before.sin_theta_cos_phi + e.ion.y * before.sin_theta_sin_phi +
                      e.ion.z * before.cos_theta;
  EXPECT_NEAR(along, 0.0f, 1e-6f);  // the atom lies straight across the old path
  const float p2 = e.ion.x * e.ion.x + e.ion.y * e.ion.y + e.ion.z * e.ion.z;
  const float q1 = 0.03f * std::cos(polar), q2 = 0.04f;
  EXPECT_NEAR(p2, q1 * q1 + q2 * q2, 1e-6f);
  // Deflected away from the atom, along its offset (0.03, 0.04) in the depth plane.
  const engine::IonDirection& after = e.ion.direction;
  EXPECT_GT(after.slope_y, 0.0f);
  EXPECT_NEAR(after.slope_y / (after.slope_x - before.slope_x), 0.04f / 0.03f, 1e-3f);
}

TEST(Collision, DiscardsAndMisses) {
  const struct {
    float p;
    StepResult result;
  } cases[] = {
      {0.0f, StepResult::kDiscarded},     // head-on: no direction to deflect into
      {0.0001f, StepResult::kDiscarded},  // entry 0: backscatter just below 180 degrees
      {0.001f, StepResult::kDiscarded},   // protons off copper beyond 90 degrees
      {0.3f, StepResult::kCollision},
      {0.7f, StepResult::kNoCollision},  // beyond the interaction radius (0.5375 Å)
  };
  for (const auto& c : cases) {
    Encounter e(0.0f);
    EXPECT_EQ(e.step(c.p, 0.0f), c.result) << c.p;
    if (c.result != StepResult::kCollision) {
      EXPECT_EQ(e.ion.x, c.p) << c.p;
    }
  }
}

}  // namespace
