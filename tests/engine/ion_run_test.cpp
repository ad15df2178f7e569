// The ion run as the driver sees it: what it refuses, what it leaves in the tally, the
// overlayer and the blocking smear.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/overlayer.h"
#include "tracking_case.h"

namespace {

using engine_test::kDegree;
using engine_test::TrackingCase;

// A 2 x 1 x 2 grid with three atoms, the first with models (class 6).
TrackingCase small_slab() {
  TrackingCase k(3.0f, 2.0f, {0.0f, 1.5f}, {0.0f}, {-0.5f, 1.0f});
  k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, 0.1f);
  k.add_atom(1.5f, 1.0f, 0.0f, 2, 1, 1, 0.1f);
  k.add_atom(0.0f, 1.0f, 1.5f, 1, 1, 2, 0.08f);
  k.set_models(2, 1, 2, 1);
  k.models.shift(2, 1) = {0.05f, 0.0f, 0.0f};
  k.models.sigma(2, 1) = 0.12f;
  k.derive();
  k.set_tables(120.0f * kDegree, 0.1f * kDegree);
  k.aim(20.0f * kDegree, 10.0f * kDegree, 120.0f * kDegree, 400);
  return k;
}

TEST(IonRun, RefusesDataThatDoNotFitTogether) {
  const struct {
    const char* what;
    void (*spoil)(TrackingCase&);
  } cases[] = {
      {"atom type", [](TrackingCase& k) { k.atom(2).type = 2; }},
      {"atom cell", [](TrackingCase& k) { k.atom(3).layer = 3; }},
      {"cell map entry", [](TrackingCase& k) { k.crystal.cell_atom[1] = 4; }},
      {"edge list", [](TrackingCase& k) { k.crystal.z_edges.pop_back(); }},
      {"no layers", [](TrackingCase& k) { k.crystal.layer_count = 0; }},
      {"class without models", [](TrackingCase& k) { k.atom(2).change_class = 2; }},
      {"class out of range", [](TrackingCase& k) { k.atom(3).change_class = 7; }},
      {"shift table", [](TrackingCase& k) { k.models.structure_shift.pop_back(); }},
      {"vibration coefficients", [](TrackingCase& k) { k.models.vibration_ratio.clear(); }},
      {"no models", [](TrackingCase& k) { k.models.vibration_count = 0; }},
      {"cut-offs", [](TrackingCase& k) { k.tables.type_reach_weight.clear(); }},
      {"ring tables", [](TrackingCase& k) { k.tables.rings = engine::RingTables{}; }},
      {"overlayer type",
       [](TrackingCase& k) {
         k.run.overlayer_flag = 1;
         k.run.overlayer_type = 3;
       }},
  };
  for (const auto& c : cases) {
    TrackingCase k = small_slab();
    c.spoil(k);
    EXPECT_THROW(k.launch(1), engine::ModelDataError) << c.what;
  }
  TrackingCase k = small_slab();
  engine::HitTally wrong(1, 2, 3);
  EXPECT_THROW(engine::launch_ions(k.crystal, k.models, engine_test::fixed_tables(), k.tables,
                                   k.run, engine::run_key(1, 0), wrong),
               engine::ModelDataError);
}

TEST(IonRun, AddsToTheSumsAndSetsTheRunFigures) {
  const TrackingCase k = small_slab();
  engine::HitTally tally = k.launch(99);
  EXPECT_GT(tally.ions_run, 300);
  const float c = std::cos(120.0f * kDegree);
  EXPECT_NEAR(tally.hit_norm, 1.0f / ((c - 1.0f) * (c - 1.0f)), 1e-5f);
  const std::vector<double> once = tally.hit_sum;
  engine::launch_ions(k.crystal, k.models, engine_test::fixed_tables(), k.tables, k.run,
                      engine::run_key(99, 0), tally);
  for (std::size_t i = 0; i < once.size(); ++i) {
    EXPECT_GT(once[i], 0.0f) << i;
    EXPECT_NEAR(tally.hit_sum[i], 2.0f * once[i], 1e-5f * once[i]) << i;  // same ions, added
  }
  // A blocking run (nonzero angle index) smears the start directions: other trajectories.
  TrackingCase blocking = small_slab();
  blocking.run.angle_index = 3;
  EXPECT_NE(blocking.launch(99).hit_sum, once);
}

TEST(Overlayer, CollisionCountAndSquareSide) {
  const struct {
    float density, cos_polar;
    std::int32_t collisions;
    float side;
  } cases[] = {
      {1.0e15f, 1.0f, 1, std::sqrt(10.0f)},        // 0.1 atoms/Å^2 along the path
      {1.0e15f, 0.5f, 2, std::sqrt(2.0f / 0.2f)},  // longer path: 0.2, 6.25 x 0.2 = 1.25
      {1.0e16f, 1.0f, 7, std::sqrt(7.0f)},
      {0.0f, 1.0f, 0, 0.0f},
      {-1.0e15f, 1.0f, 0, 0.0f},
      {1.0e15f, -0.5f, 0, 0.0f},
      {3.0e38f, 1.0f, 1000001, std::sqrt(1000001.0f / 3.0e22f)},  // limited
  };
  for (const auto& c : cases) {
    const engine::OverlayerSetup overlayer = engine::set_up_overlayer(c.density, c.cos_polar, 1);
    EXPECT_EQ(overlayer.collisions, c.collisions) << c.density << " " << c.cos_polar;
    EXPECT_NEAR(overlayer.side, c.side, 1e-5f * c.side) << c.density;
  }
}

TEST(Overlayer, DeflectsDiscardsAndSumsTheSquaredAngle) {
  // A made-up table with tan ψ = 1 everywhere: large deflections, many discards at 60 degrees.
  const engine::DeflectionTable strong(1, 1.0f, std::vector<float>(10001, 1.0f));
  const engine::OverlayerSetup overlayer = engine::set_up_overlayer(1.0e15f, 0.5f, 1);
  engine::IonStream stream(engine::run_key(17, 0), 0);
  int passed = 0, discarded = 0;
  for (int ion = 0; ion < 200; ++ion) {
    engine::IonDirection d;
    engine::set_direction(d, std::sin(60.0f * kDegree), 0.0f, std::cos(60.0f * kDegree));
    const engine::IonDirection start = d;
    double sum = 0.0;
    if (!engine::pass_overlayer(d, overlayer, strong, stream, sum)) {
      ++discarded;
      EXPECT_EQ(sum, 0.0f);
      continue;
    }
    ++passed;
    EXPECT_GT(sum, 0.0f);
    const float cosine = d.sin_theta_cos_phi * start.sin_theta_cos_phi +
                         d.sin_theta_sin_phi * start.sin_theta_sin_phi +
                         d.cos_theta * start.cos_theta;
    EXPECT_NEAR(sum, std::acos(std::min(1.0f, cosine)) * std::acos(std::min(1.0f, cosine)), 1e-5f);
  }
  EXPECT_GT(passed, 20);
  EXPECT_GT(discarded, 20);
}

TEST(Overlayer, RunsAddTheDeflectionsOfThePassingIons) {
  TrackingCase k = small_slab();
  k.run.overlayer_flag = 1;
  k.run.overlayer_type = 1;
  k.run.overlayer_density = 1.0e15f;
  const engine::HitTally tally = k.launch(23);
  // 100 keV protons through one copper atom at random impacts over 10 Å^2: rms ~ 0.2 degrees.
  const double rms = std::sqrt(tally.overlayer_deflection_sum / tally.ions_run);
  EXPECT_GT(rms, 0.02 * kDegree);
  EXPECT_LT(rms, 2.0 * kDegree);
}

}  // namespace
