// Direction terms of an ion, the walking-mode choice, the beam set-up and the start grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/beam_setup.h"
#include "engine/ion_state.h"
#include "engine/walk.h"

namespace {

using engine::IonDirection;
using engine::WalkMode;

constexpr float kDeg = 0.0174532925f;

IonDirection direction_of(float vx, float vy, float vz) {
  IonDirection d;
  engine::set_direction(d, vx, vy, vz);
  engine::derive_slopes(d);
  return d;
}

TEST(SetDirection, StoresTheAnglesOfAnyVector) {
  const IonDirection d = direction_of(3.0f, 4.0f, 12.0f);  // length 13, transverse 5
  EXPECT_FLOAT_EQ(d.cos_phi, 0.6f);
  EXPECT_FLOAT_EQ(d.sin_phi, 0.8f);
  EXPECT_FLOAT_EQ(d.cos_theta, 12.0f / 13.0f);
  EXPECT_FLOAT_EQ(d.sin_theta, 5.0f / 13.0f);
  EXPECT_FLOAT_EQ(d.sin_theta_sin_phi, 4.0f / 13.0f);
  EXPECT_FLOAT_EQ(d.cos_theta_cos_phi, 0.6f * 12.0f / 13.0f);
  EXPECT_FLOAT_EQ(d.tan_theta, 5.0f / 12.0f);
  EXPECT_FLOAT_EQ(d.slope_x, 3.0f / 12.0f);
  EXPECT_FLOAT_EQ(d.slope_y, 4.0f / 12.0f);
  // e1 and e2 are perpendicular to d and to each other.
  const float e1_dot_d = d.along_e1(d.sin_theta_cos_phi, d.sin_theta_sin_phi, d.cos_theta);
  EXPECT_NEAR(e1_dot_d, 0.0f, 1e-7f);
  EXPECT_NEAR(d.along_e2(d.sin_theta_cos_phi, d.sin_theta_sin_phi), 0.0f, 1e-7f);
}

TEST(SetDirection, ZeroParts) {
  const IonDirection normal = direction_of(0.0f, 0.0f, 2.0f);
  EXPECT_EQ(normal.cos_phi, 0.0f);
  EXPECT_EQ(normal.sin_phi, 0.0f);
  EXPECT_EQ(normal.sin_theta, 0.0f);
  EXPECT_EQ(normal.cos_theta, 1.0f);
  EXPECT_EQ(normal.step_x, 1);  // sign(0) = +1
  EXPECT_EQ(normal.step_y, 1);
  const IonDirection flat = direction_of(-2.0f, 0.0f, 0.0f);  // cos θ exactly 0
  EXPECT_EQ(flat.cos_theta, 0.0f);
  EXPECT_FLOAT_EQ(flat.tan_theta, 1.0e-6f);  // 1.0E-6 sin θ, not a quotient
  EXPECT_EQ(flat.step_x, -1);
  const IonDirection none = direction_of(0.0f, 0.0f, 0.0f);
  EXPECT_EQ(none.cos_theta, 0.0f);
  EXPECT_EQ(none.sin_theta, 0.0f);
}

TEST(WalkMode, FollowsTheSlopes) {
  const struct {
    float vx, vy;
    WalkMode mode;
  } cases[] = {
      {0.0f, 0.0f, WalkMode::kZ},   {1.0f, 0.0f, WalkMode::kZ},  // slope exactly 1
      {-1.0f, -1.0f, WalkMode::kZ}, {1.5f, 0.5f, WalkMode::kX}, {-1.5f, 1.2f, WalkMode::kX},
      {0.5f, -1.5f, WalkMode::kY},  {2.0f, 2.0f, WalkMode::kY},  // equal slopes above 1
      {-2.0f, 2.0f, WalkMode::kY},
  };
  for (const auto& c : cases)
    EXPECT_EQ(engine::choose_walk_mode(direction_of(c.vx, c.vy, 1.0f)), c.mode)
        << c.vx << " " << c.vy;
}

TEST(DirectionTerms, WeightsFollowTheCrossSectionAndOffsetsPointToU) {
  const std::vector<float> cutoff{0.002f, 0.004f};
  const engine::ScatteringReference u =
      engine::reference_direction(0.0f, 130.0f * kDeg, cutoff);  // in the x-z plane
  engine::BeamSetup beam =
      engine::set_up_beam(0.0f, 10.0f * kDeg, 130.0f * kDeg, u, 0.0f, 0.5f, 6, 2);
  const float c0 = std::cos(120.0f * kDeg);
  EXPECT_NEAR(beam.cross_section, 1.0f / ((c0 - 1.0f) * (c0 - 1.0f)), 1e-5f);
  for (const float w : beam.ion.weight) EXPECT_EQ(w, beam.cross_section);
  // Offsets lie in the scattering plane (no e2 part) and scale with the type's cut-off.
  EXPECT_NEAR(beam.ion.hit_offset[1].e2, 0.0f, 1e-9f);
  EXPECT_NEAR(std::fabs(beam.ion.hit_offset[0].e1), 0.002f, 1e-7f);
  EXPECT_NEAR(beam.ion.hit_offset[1].e1, 2.0f * beam.ion.hit_offset[0].e1, 1e-8f);

  // Turn the ion 20 degrees toward u: every weight takes the new factor.
  engine::IonState& ion = beam.ion;
  ion.weight[3] = 2.0f * beam.cross_section;
  engine::set_direction(ion.direction, std::sin(30.0f * kDeg), 0.0f, std::cos(30.0f * kDeg));
  engine::update_direction_terms(ion, u);
  const float c = std::cos(100.0f * kDeg);
  const float f = 1.0f / ((c - 1.0f) * (c - 1.0f));
  EXPECT_NEAR(ion.cross_section, f, 1e-5f);
  EXPECT_NEAR(ion.weight[0], f, 1e-5f);
  EXPECT_NEAR(ion.weight[3], 2.0f * f, 2e-5f);

  // u along the ion (c = 1): the offset has no direction and is 0.
  engine::set_reference_terms(ion, u, 1.0f);
  EXPECT_EQ(ion.hit_offset[0].e1, 0.0f);
  EXPECT_EQ(ion.hit_offset[0].e2, 0.0f);
}

TEST(BeamSetup, StartDepthAndNegativePolarAngles) {
  const std::vector<float> cutoff{0.001f};
  const engine::ScatteringReference u = engine::reference_direction(0.0f, 2.0f, cutoff);
  const engine::BeamSetup steep = engine::set_up_beam(0.3f, 0.5f, 2.0f, u, -0.2f, 0.6f, 1, 1);
  EXPECT_EQ(steep.z_start, 0.0f);
  const engine::BeamSetup grazing = engine::set_up_beam(0.3f, 1.2f, 2.0f, u, -0.2f, 0.6f, 1, 1);
  EXPECT_FLOAT_EQ(grazing.z_start, -0.2f - 0.6f / std::sin(1.2f));
  // A negative polar angle is the same direction with θ positive and φ turned by π.
  const engine::BeamSetup negative = engine::set_up_beam(0.3f, -0.5f, 2.0f, u, 0.0f, 0.6f, 1, 1);
  const IonDirection& d = negative.ion.direction;
  EXPECT_GT(d.sin_theta, 0.0f);
  EXPECT_FLOAT_EQ(d.sin_theta_cos_phi, std::sin(-0.5f) * std::cos(0.3f));
  EXPECT_FLOAT_EQ(d.sin_theta_sin_phi, std::sin(-0.5f) * std::sin(0.3f));
  EXPECT_FLOAT_EQ(d.slope_x, std::tan(-0.5f) * std::cos(0.3f));
  EXPECT_EQ(d.step_x, -1);
}

TEST(StartGrid, PointsCoverTheCellAcrossTheBeam) {
  const engine::StartGrid square = engine::make_start_grid(3.0f, 3.0f, 0.0f, 0.0f, 100);
  EXPECT_EQ(square.nx, 10);
  EXPECT_EQ(square.ny, 10);
  EXPECT_FLOAT_EQ(square.dx, 0.3f);
  // Tilted along x: the cell's projection shrinks along x, so fewer points there.
  const engine::StartGrid tilted = engine::make_start_grid(3.0f, 3.0f, 60.0f * kDeg, 0.0f, 100);
  EXPECT_EQ(tilted.nx, 7);  // sqrt(100 cos θ) = 7.07
  EXPECT_EQ(tilted.ny, 14);
  // Tilted along y (azimuth 90 degrees): q = 1, the y points thin out.
  const engine::StartGrid along_y =
      engine::make_start_grid(3.0f, 3.0f, 60.0f * kDeg, 90.0f * kDeg, 100);
  EXPECT_EQ(along_y.nx, 14);
  EXPECT_EQ(along_y.ny, 7);
  // A very elongated cell gives more points than asked for.
  const engine::StartGrid long_cell = engine::make_start_grid(100.0f, 0.01f, 0.0f, 0.0f, 10);
  EXPECT_GT(long_cell.points(), 10);
}

TEST(StartGrid, DegenerateRequestsGiveOnePointAtTheCentre) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float xrep, yrep, polar;
    std::int32_t target;
  } cases[] = {{3.0f, 2.0f, 0.0f, 0},
               {3.0f, 2.0f, 0.0f, -50},
               {3.0f, 2.0f, 1.5707964f, 100},
               {3.0f, 2.0f, 2.5f, 100},
               {nan, 2.0f, 0.0f, 100}};
  for (const auto& c : cases) {
    const engine::StartGrid grid = engine::make_start_grid(c.xrep, c.yrep, c.polar, 0.0f, c.target);
    EXPECT_EQ(grid.points(), 1) << c.target << " " << c.polar;
  }
  const engine::StartGrid huge = engine::make_start_grid(1.0e9f, 1.0e9f, 0.0f, 0.0f, 2000000000);
  EXPECT_GE(huge.points(), 1);  // nx ny stays within 32 bits
  EXPECT_LE(static_cast<std::int64_t>(huge.nx) * huge.ny, std::int64_t{2147483647});
}

TEST(AzimuthalSmear, TurnsTheBeamSidewaysByAtMostOneHundredAndTwentiethRadian) {
  // Beam in the x-z plane: the smear b is the y component before normalisation.
  engine::IonStream stream(engine::run_key(4711, 1), 0);
  const IonDirection base = direction_of(std::sin(0.4f), 0.0f, std::cos(0.4f));
  float lowest = 1.0f, highest = -1.0f;
  for (int k = 0; k < 400; ++k) {
    IonDirection d = base;
    engine::apply_azimuthal_smear(d, stream);
    const float b = d.sin_theta_sin_phi / d.cos_theta * base.cos_theta;
    lowest = std::min(lowest, b);
    highest = std::max(highest, b);
    EXPECT_NEAR(d.sin_theta_cos_phi / d.cos_theta, base.sin_theta / base.cos_theta, 1e-5f);
  }
  const float most = 0.5f / 180.0f + 0.5f / 90.0f;
  EXPECT_GE(lowest, -most);
  EXPECT_LE(highest, most);
  EXPECT_LT(lowest, -0.7f * most);
  EXPECT_GT(highest, 0.7f * most);
}

}  // namespace
