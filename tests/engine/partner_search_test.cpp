// The choice of the partner among the candidates of one step: the smallest p^2 / R^2 wins,
// candidates are taken x-cell outermost, then y-cell, then layer, a later candidate wins a
// tie, and nothing beyond 1000 times the interaction radius squared is ever chosen.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/beam_setup.h"
#include "engine/multi_model_accounting.h"
#include "engine/partner_search.h"
#include "tracking_case.h"

namespace {

using engine::StepResult;
using engine_test::kDegree;
using engine_test::TrackingCase;

struct Site {
  float x, y, z;
  std::int32_t i, j, layer;
};

// Cell counts of a block, or the cell of a partner (x-cell, y-cell, layer).
struct Cells {
  std::int32_t x, y, layer;
};

// A 2 x 2 x 2 cell grid of 4 Å by 4 Å with non-vibrating atoms placed by hand, and an ion
// along the surface normal through (1, 1): p is the distance of a site from that line.
struct Choice {
  TrackingCase k{4.0f, 4.0f, {0.0f, 2.0f}, {0.0f, 2.0f}, {-1.0f, 0.5f}};
  engine::IonState ion;
  engine::HitTally tally;
  engine::IonStream stream{engine::run_key(5, 0), 0};

  explicit Choice(const std::vector<Site>& sites, float sigma = 0.0f) {
    for (const Site& s : sites) k.add_atom(s.x, s.y, s.z, s.i, s.j, s.layer, sigma);
    k.derive();
    k.set_tables(120.0f * kDegree, 0.1f * kDegree);  // interaction radius 0.5375 Å
    const std::vector<float> cutoff{0.0f};
    const engine::ScatteringReference u = engine::reference_direction(0.0f, 2.0f, cutoff);
    ion = engine::set_up_beam(0.0f, 0.0f, 2.0f, u, 0.0f, 0.5f, 1, 1).ion;
    ion.x = 1.0f;
    ion.y = 1.0f;
    ion.z = -1.0f;
    tally = engine::HitTally(1, 1, static_cast<std::int32_t>(sites.size()));
  }
  // One step over the first `count.x` x-cells, `count.y` y-cells and `count.layer` layers
  // (no images).
  StepResult step(const Cells& count) {
    const engine::CellLookup cells = engine::make_cell_lookup(k.crystal);
    std::vector<engine::BlockAtom> atoms;
    engine::append_occupied_cells(
        k.crystal, std::span(cells.x).subspan(1, static_cast<std::size_t>(count.x)),
        std::span(cells.y).subspan(1, static_cast<std::size_t>(count.y)),
        std::span(cells.layer).subspan(0, static_cast<std::size_t>(count.layer)), atoms);
    const engine::CandidateBlock block{atoms};
    const engine::TrackingContext context{
        k.crystal, k.models, engine_test::fixed_tables(), k.tables, cells, {}, 1.0f};
    const engine::MultiModelAccounting policy(context);
    engine::MultiModelAccounting::IonMemory memory;
    engine::RunCounts counts;
    return engine::step_to_partner(ion, block, context, policy, memory, stream, tally, counts);
  }
};

TEST(PartnerSearch, NearestWinsAndTiesGoToTheLaterCandidate) {
  const struct {
    const char* what;
    std::vector<Site> sites;
    Cells block;    // x-cells, y-cells and layers examined
    Cells partner;  // the partner's cell, taken over by the collision
  } cases[] = {
      // (x 1, y 2) comes before (x 2, y 1) only when x-cells are the outer loop.
      {"x-cell outermost",
       {{0.75f, 1.25f, 0.0f, 1, 2, 1}, {1.25f, 0.75f, 0.0f, 2, 1, 1}},
       {2, 2, 1},
       {2, 1, 1}},
      // (y 1, layer 2) comes before (y 2, layer 1) only when layers are the inner loop.
      {"layer innermost",
       {{0.75f, 1.25f, 1.0f, 1, 1, 2}, {1.25f, 0.75f, 0.0f, 1, 2, 1}},
       {1, 2, 2},
       {1, 2, 1}},
      {"nearest first",
       {{0.75f, 1.0f, 0.0f, 1, 1, 1}, {1.0f, 1.375f, 0.0f, 2, 2, 1}},
       {2, 2, 1},
       {1, 1, 1}},
      {"nearest last",
       {{0.625f, 1.0f, 0.0f, 1, 1, 1}, {1.0f, 1.25f, 0.0f, 2, 2, 1}},
       {2, 2, 1},
       {2, 2, 1}},
  };
  for (const auto& c : cases) {
    Choice choice(c.sites);
    ASSERT_EQ(choice.step(c.block), StepResult::kCollision) << c.what;
    EXPECT_EQ(choice.ion.kx, c.partner.x) << c.what;
    EXPECT_EQ(choice.ion.ky, c.partner.y) << c.what;
    EXPECT_EQ(choice.ion.layer, c.partner.layer) << c.what;
  }
}

TEST(PartnerSearch, CandidatesBeyondAThousandRadiiSquaredAreNeverChosen) {
  // A site 0.1 Å from the path (σ 0.01 Å: the displacement across the path stays below
  // 0.055 Å, so p^2 lies within 0.002..0.024 Å^2), counted as near whenever it is the
  // partner: a hit shows that it was chosen.
  const struct {
    float reach_weight;  // 1/R^2, 1/Å^2
    bool chosen;
  } cases[] = {
      {4.0e4f, true},   // w = p^2 / R^2 between 80 and 960
      {6.0e5f, false},  // w above 1000 for every displacement
  };
  for (const auto& c : cases) {
    Choice choice({{1.1f, 1.0f, 0.0f, 1, 1, 1}}, 0.01f);
    choice.k.tables.type_reach_weight = {c.reach_weight};
    choice.k.atom(1).reach2 = 1.0f;
    EXPECT_EQ(choice.step({1, 1, 1}), StepResult::kNoCollision) << c.reach_weight;
    EXPECT_EQ(choice.tally.hit(1, 1, 1) > 0.0f, c.chosen) << c.reach_weight;
    EXPECT_EQ(choice.ion.x, 1.0f) << c.reach_weight;
  }
}

}  // namespace
