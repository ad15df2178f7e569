// Scattering angles against the exact Coulomb (Rutherford) relation, screening against
// Coulomb, the laboratory-angle conversion and the kinematic factor.
#include "engine/scattering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "coulomb_orbit.h"
#include "shared_tables.h"

namespace {

using engine_test::fixed_tables;

constexpr double kPi = std::numbers::pi;

struct Collision {
  int z1;
  double m1;
  int z2;
  double m2;
  double energy;  // keV, laboratory
  double centre_of_mass_energy() const { return energy * m2 / (m1 + m2); }
};

// Light and heavy targets, from very slow to fast ions, over the whole table.
const Collision kCollisions[] = {{2, 4.0026, 6, 12.011, 1.0},    {2, 4.0026, 6, 12.011, 2000.0},
                                 {1, 1.008, 29, 63.546, 100.0},  {2, 4.0026, 29, 63.546, 100.0},
                                 {2, 4.0026, 82, 207.2, 2000.0}, {10, 20.18, 82, 207.2, 5.0}};

// tan(theta / 2) = C / (2 ec p).
double rutherford_angle(double coupling, double ec, double p) {
  return 2.0 * std::atan(coupling / (2.0 * ec * p));
}

// The half-range Chebyshev rule integrates the even extension of the orbit integrand in
// u = r0/r, which has a kink at u = 0: its error falls with the square of the node spacing
// pi/60 and stays below 1e-4 rad (4.4e-5 rad at most for Coulomb).
constexpr double kQuadratureError = 1.0e-4;

TEST(ScatteringAngle, QuadratureReproducesRutherfordGivenTheExactTurningPoint) {
  const engine::ScatteringQuadrature quadrature(fixed_tables().pi);
  for (const Collision& c : kCollisions) {
    const engine::PairPotential pair =
        engine::make_pair_potential(engine::kBareCoulomb, c.z1, c.z2);
    const double ec = c.centre_of_mass_energy();
    for (int i = 1; i <= 10000; ++i) {
      const double p = 0.0005 * i;
      const double r0 = engine_test::coulomb_closest_approach(pair.coupling, p, ec);
      ASSERT_NEAR(quadrature.centre_of_mass_angle(pair, p, ec, r0),
                  rutherford_angle(pair.coupling, ec, p), kQuadratureError)
          << "Z2 " << c.z2 << " E " << c.energy << " p " << p;
    }
  }
}

TEST(ScatteringAngle, FullCalculationReproducesRutherfordOverTheWholeTable) {
  // The search leaves r0 within delta = 1.2e-8 Å of the root. That moves the turning point
  // by g(1) ~ 2 delta/r0, which the first node, 1 - cos(pi/120) = 3.4e-4 from it, feels:
  // theta moves by about 2 (p/r0)(pi/60) sqrt(2) (2 delta/r0) / (2 * 3.4e-4), under
  // 250 (p/r0)(delta/r0). That bound matters only for fast ions at the smallest p.
  const engine::ScatteringQuadrature quadrature(fixed_tables().pi);
  for (const Collision& c : kCollisions) {
    const engine::PairPotential pair =
        engine::make_pair_potential(engine::kBareCoulomb, c.z1, c.z2);
    const double ec = c.centre_of_mass_energy();
    for (int i = 1; i <= 10000; ++i) {
      const double p = 0.0005 * i;
      const double r0 = engine_test::coulomb_closest_approach(pair.coupling, p, ec);
      const double tolerance = kQuadratureError + 250.0 * (p / r0) * (1.2e-8 / r0);
      ASSERT_NEAR(quadrature.centre_of_mass_angle(pair, p, ec),
                  rutherford_angle(pair.coupling, ec, p), tolerance)
          << "Z2 " << c.z2 << " E " << c.energy << " p " << p;
    }
  }
}

TEST(ScatteringAngle, ScreenedAngleLiesBelowCoulombAndMeetsItAtSmallImpact) {
  const engine::ScatteringQuadrature quadrature(fixed_tables().pi);
  const Collision c{2, 4.0026, 29, 63.546, 1000.0};
  const double ec = c.centre_of_mass_energy();
  const engine::PairPotential coulomb = engine::make_pair_potential(engine::kBareCoulomb, 2, 29);
  for (const int selector : {engine::kMoliere, engine::kUniversal}) {
    const engine::PairPotential screened = engine::make_pair_potential(selector, 2, 29);
    double previous_gap = 0.0;
    // Screening removes a share of the potential that shrinks with r0/a, so the relative gap
    // closes as p falls; at p = 0.0005 Å, r0/a is 0.008.
    for (int i = 1; i <= 8192; i *= 2) {
      const double p = 0.0005 * i;
      const double theta_c = quadrature.centre_of_mass_angle(coulomb, p, ec);
      const double theta_s = quadrature.centre_of_mass_angle(screened, p, ec);
      const double gap = (theta_c - theta_s) / theta_c;
      ASSERT_GT(gap, previous_gap) << "selector " << selector << " p " << p;
      if (i == 1) {
        EXPECT_LT(gap, 0.005);
      }
      previous_gap = gap;
    }
    EXPECT_GT(previous_gap, 0.99);  // at 4 Å the screened deflection has all but vanished
  }
}

TEST(LaboratoryAngle, ConversionLimits) {
  for (double theta = 0.01; theta < kPi; theta += 0.01) {
    // An infinitely heavy target: the laboratory angle is the centre-of-mass angle.
    const double fixed_target = std::atan2(engine::laboratory_tangent(theta, 0.0), 1.0);
    EXPECT_NEAR(theta < kPi / 2 ? fixed_target : fixed_target + kPi, theta, 1e-12);
    // Equal masses: half the angle, never beyond 90 degrees.
    EXPECT_NEAR(std::atan(engine::laboratory_tangent(theta, 1.0)), theta / 2, 1e-12);
  }
}

TEST(LaboratoryAngle, BackscatteringOnlyFromHeavierTargets) {
  for (const double ratio : {0.02, 0.3, 0.9}) {
    // tan psi < 0 (psi beyond 90 degrees) exactly where cos theta < -m1/m2.
    for (double theta = 0.005; theta < kPi; theta += 0.01)
      ASSERT_EQ(engine::laboratory_tangent(theta, ratio) < 0.0, std::cos(theta) < -ratio)
          << ratio << " " << theta;
  }
  for (const double ratio : {1.5, 4.0}) {
    // A lighter target deflects the ion by at most asin(m2/m1).
    double largest = 0.0;
    for (double theta = 0.0; theta < kPi; theta += 1e-4) {
      const double tangent = engine::laboratory_tangent(theta, ratio);
      ASSERT_GE(tangent, 0.0);
      largest = std::max(largest, std::atan(tangent));
    }
    EXPECT_NEAR(largest, std::asin(1.0 / ratio), 1e-6) << ratio;
  }
}

TEST(KinematicFactor, StatedAngles) {
  const float m1 = 4.0026f, m2 = 63.546f;
  const float pi = fixed_tables().pi;
  EXPECT_FLOAT_EQ(engine::kinematic_factor(m1, m2, 0.0f), 1.0f);
  EXPECT_NEAR(engine::kinematic_factor(m1, m2, pi / 2), (m2 - m1) / (m2 + m1), 1e-6);
  const float back = (m2 - m1) / (m2 + m1);
  EXPECT_NEAR(engine::kinematic_factor(m1, m2, pi), back * back, 1e-6);
  EXPECT_TRUE(std::isnan(engine::kinematic_factor(4.0f, 1.0f, 1.0f)));  // beyond asin(1/4)
}

TEST(KinematicFactor, AgreesWithElasticCentreOfMassKinematics) {
  // An ion scattered through theta in the centre of mass keeps the energy fraction
  // 1 - 2 m1 m2 (1 - cos theta) / (m1 + m2)^2 and leaves at the laboratory angle psi.
  for (const double m2 : {12.011, 63.546, 207.2}) {
    const double m1 = 4.0026;
    for (double theta = 0.1; theta < kPi; theta += 0.1) {
      double psi = std::atan(engine::laboratory_tangent(theta, m1 / m2));
      if (psi < 0.0) psi += kPi;
      const double fraction =
          1.0 - 2.0 * m1 * m2 * (1.0 - std::cos(theta)) / ((m1 + m2) * (m1 + m2));
      EXPECT_NEAR(engine::kinematic_factor(static_cast<float>(m1), static_cast<float>(m2),
                                           static_cast<float>(psi)),
                  fraction, 2e-6)
          << m2 << " " << theta;
    }
  }
}

}  // namespace
