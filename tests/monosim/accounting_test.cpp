// monosim's accounting seen from one partner search at a time: the conditional draw of a
// correlated atom's displacement (its spread and its correlation with the last partner's,
// also along a long chain of partners), the last partner itself always correlated, and the
// hit term against the closed form of the Gaussian line integral.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/ion_state.h"
#include "engine/ion_stream.h"
#include "mono_case.h"
#include "monosim/anisotropic_accounting.h"

namespace {

using monosim::AnisotropicAccounting;
using monosim::AtomVibration;
using monosim::Correlation;
using monosim::LastPartner;
using monosim_test::fixed_tables;
using monosim_test::kSanitized;

constexpr double kPi = 3.14159265358979;
const int kDraws = kSanitized ? 4000 : 20000;

Correlation correlation(float c, float distance) {
  monosim::MonoInput input;
  input.flags[5] = 1;
  input.correlation_coefficient = c;
  input.correlation_distance = distance;
  return monosim::derive_correlation(input);
}

// Two atoms 1.5 Å apart in depth in a 4 x 4 Å cell, with the policy over them.
struct PolicyCase {
  engine::Crystal crystal;
  engine::ModelSet models;
  engine::RunTables tables;
  engine::CellLookup cells;
  std::vector<AtomVibration> vibrations;
  Correlation correlated;
  engine::TrackingContext context{crystal, models, fixed_tables(), tables, cells, {}, 0.0f};
  AnisotropicAccounting policy{context, vibrations, correlated};
  engine::IonState ion;

  PolicyCase(const std::vector<monosim::Amplitudes>& sigma, Correlation c)
      : vibrations(monosim::derive_vibrations(sigma, fixed_tables().pi)), correlated(c) {
    crystal.repeat_x = crystal.repeat_y = 4.0f;
    crystal.types = {{29, 63.546f}};
    crystal.atoms.resize(2);
    crystal.atoms[0].x = crystal.atoms[0].y = 1.0f;
    crystal.atoms[1].x = crystal.atoms[1].y = 1.0f;
    crystal.atoms[1].z = 1.5f;
    for (engine::Atom& atom : crystal.atoms) atom.type = 1;
    aim(0.0f, 0.0f, 1.0f);
    ion.hit_offset.assign(1, {});
    ion.cross_section = 2.5f;
  }

  // Ion direction (vx, vy, vz), as a collision leaves it.
  void aim(float vx, float vy, float vz) {
    engine::set_direction(ion.direction, vx, vy, vz);
    engine::derive_slopes(ion.direction);
  }

  engine::Candidate candidate(std::int32_t a, float rx = 0.3f, float ry = -0.2f,
                              float rz = 0.4f) const {
    return {a, &crystal.atoms[static_cast<std::size_t>(a - 1)], {rx, ry, rz}};
  }

  // Examines atom a with the ion's memory, then makes it the last partner; returns its
  // displacement in amplitude units.
  monosim::Deviates meet(std::int32_t a, engine::IonStream& stream, LastPartner& last,
                         monosim::AtomHits& hits) const {
    const monosim::Deviates n = policy.start_search(ion, stream);
    const engine::Displacement d = policy.examine(ion, candidate(a), n, last, hits);
    engine::Partner partner;
    partner.atom = a;
    partner.displacement = d;
    engine::IonState moved = ion;
    policy.account_partner(moved, partner, n, last, hits);
    const AtomVibration& v = vibrations[static_cast<std::size_t>(a - 1)];
    return {d.x * v.inv_x, d.y * v.inv_y, d.z * v.inv_z};
  }
};

struct Moments {
  double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
  void add(double x, double y) {
    n += 1;
    sx += x;
    sy += y;
    sxx += x * x;
    syy += y * y;
    sxy += x * y;
  }
  double var_x() const { return sxx / n - (sx / n) * (sx / n); }
  double var_y() const { return syy / n - (sy / n) * (sy / n); }
  double correlation() const {
    return (sxy / n - (sx / n) * (sy / n)) / std::sqrt(var_x() * var_y());
  }
};

// Atom 2 met after atom 1: per axis its displacement has the conditional variance
// (1 - c^2) sigma^2 about c times atom 1's, and correlation c with atom 1's.
TEST(ConditionalDraw, SpreadAndCorrelationWithTheLastPartner) {
  const float c = 0.6f;
  const PolicyCase k({{0.05f, 0.07f, 0.09f}, {0.08f, 0.06f, 0.1f}}, correlation(c, 2.0f));
  monosim::AtomHits hits{{0.0, 0.0}};
  Moments axis[3], residual[3];
  for (int i = 0; i < kDraws; ++i) {
    engine::IonStream stream(engine::run_key(3, 0), static_cast<std::uint64_t>(i));
    LastPartner last;
    k.policy.start_ion(last);
    const monosim::Deviates first = k.meet(1, stream, last, hits);
    const monosim::Deviates second = k.meet(2, stream, last, hits);
    const float u1[3] = {first.x, first.y, first.z}, u2[3] = {second.x, second.y, second.z};
    for (int a = 0; a < 3; ++a) {
      axis[a].add(u1[a], u2[a]);
      residual[a].add(u2[a] - c * u1[a], u1[a]);
    }
  }
  // Standard errors: sqrt(2/N) of a variance, (1 - c^2)/sqrt(N) of a correlation.
  const double var_error = std::sqrt(2.0 / kDraws), corr_error = (1.0 - c * c) / std::sqrt(kDraws);
  for (int a = 0; a < 3; ++a) {
    SCOPED_TRACE(a);
    EXPECT_NEAR(axis[a].var_x(), 1.0, 5.0 * var_error);
    EXPECT_NEAR(axis[a].var_y(), 1.0, 5.0 * var_error);
    EXPECT_NEAR(residual[a].var_x(), 1.0 - c * c, 5.0 * (1.0 - c * c) * var_error);
    EXPECT_NEAR(residual[a].correlation(), 0.0, 5.0 / std::sqrt(kDraws));
    EXPECT_NEAR(axis[a].correlation(), c, 5.0 * corr_error);
  }
}

// Along a chain of partners, each conditioned on the one before, the displacements keep the
// atoms' own spread (a fresh deviate scaled by 1/sqrt(1 - c^2) instead of sqrt(1 - c^2) would
// grow its variance to 1/(1 - c^2)^2, 1.78 at c = 0.5) and neighbours in the chain stay
// correlated by c.
TEST(ConditionalDraw, ChainOfPartnersKeepsTheSpread) {
  const float c = 0.5f;
  const PolicyCase k({{0.07f, 0.07f, 0.07f}, {0.07f, 0.07f, 0.07f}}, correlation(c, 2.0f));
  monosim::AtomHits hits{{0.0, 0.0}};
  Moments chain;
  const int ions = kDraws / 100, length = 100;
  for (int i = 0; i < ions; ++i) {
    engine::IonStream stream(engine::run_key(4, 0), static_cast<std::uint64_t>(i));
    LastPartner last;
    k.policy.start_ion(last);
    float previous = k.meet(1, stream, last, hits).x;
    for (int step = 1; step < length; ++step) {
      const float u = k.meet(1 + step % 2, stream, last, hits).x;
      if (step > 10) chain.add(previous, u);
      previous = u;
    }
  }
  // Neighbouring terms are correlated: allow twice the independent errors.
  const double draws = chain.n;
  EXPECT_NEAR(chain.var_y(), 1.0, 10.0 * std::sqrt(2.0 / draws));
  EXPECT_NEAR(chain.correlation(), c, 10.0 * (1.0 - c * c) / std::sqrt(draws));
}

// The last partner met again lies at distance 0 and is always correlated; a neighbour counts
// by its distance between nearest periodic images.
TEST(ConditionalDraw, LastPartnerItselfAndNeighboursAcrossTheCellEdge) {
  PolicyCase k({{0.05f, 0.05f, 0.05f}, {0.05f, 0.05f, 0.05f}}, correlation(0.3f, 0.0f));
  LastPartner last{1, 1.0f, 1.0f, 0.0f, {}};
  EXPECT_TRUE(k.policy.correlated_with(k.crystal.atoms[0], last));
  EXPECT_FALSE(k.policy.correlated_with(k.crystal.atoms[1], last));
  k.crystal.atoms[1] = {};
  k.crystal.atoms[1].x = 3.9f;
  k.crystal.atoms[1].y = 0.1f;
  const LastPartner across{1, 0.1f, 3.95f, 0.0f, {}};
  EXPECT_FALSE(k.policy.correlated_with(k.crystal.atoms[1], across));
  k.correlated.distance2 = 0.25f * 0.25f;  // the images lie 0.2 and 0.15 Å apart
  EXPECT_TRUE(k.policy.correlated_with(k.crystal.atoms[1], across));
  EXPECT_FALSE(k.policy.correlated_with(k.crystal.atoms[1], LastPartner{}));
}

// gauss_norm times the hit term: the atom's density integrated along the ion's line through
// the hit point, F times a two-dimensional Gaussian across the path.
double line_integral(const PolicyCase& k, const engine::Candidate& candidate, bool correlated,
                     const LastPartner& last) {
  const AtomVibration& v = k.vibrations[static_cast<std::size_t>(candidate.number - 1)];
  return k.policy.line_density(k.ion, candidate, v, correlated, last) * v.gauss_norm;
}

TEST(HitTerm, LineIntegralOfTheAnisotropicGaussian) {
  PolicyCase k({{0.05f, 0.08f, 0.11f}, {0.07f, 0.07f, 0.07f}}, Correlation{});
  const double F = k.ion.cross_section;
  const float rx = 0.04f, ry = -0.09f, rz = 0.7f;
  const double sx = 0.05, sy = 0.08, sz = 0.11;
  // Along z: the density across the path is that of x and y alone, whatever σz and rz.
  const double along_z =
      F / (2 * kPi * sx * sy) * std::exp(-rx * rx / (2 * sx * sx) - ry * ry / (2 * sy * sy));
  EXPECT_NEAR(line_integral(k, k.candidate(1, rx, ry, rz), false, {}), along_z, 1e-5 * along_z);
  EXPECT_NEAR(line_integral(k, k.candidate(1, rx, ry, -rz), false, {}), along_z, 1e-5 * along_z);
  // Along x: y and z alone.
  k.aim(1.0f, 0.0f, 0.0f);
  const double along_x =
      F / (2 * kPi * sy * sz) * std::exp(-ry * ry / (2 * sy * sy) - rz * rz / (2 * sz * sz));
  EXPECT_NEAR(line_integral(k, k.candidate(1, rx, ry, rz), false, {}), along_x, 1e-5 * along_x);
  // Isotropic, oblique path, hit point off the site: exp(-rho^2 / 2σ^2) / (2 π σ^2), rho the
  // distance of the hit point from the line.
  k.aim(0.3f, -0.5f, 0.8f);
  k.ion.hit_offset[0] = {0.12f, -0.05f};
  const engine::IonDirection& d = k.ion.direction;
  const double q1 = d.along_e1(rx, ry, rz) - 0.12, q2 = d.along_e2(rx, ry) + 0.05;
  const double s = 0.07;
  const double oblique = F / (2 * kPi * s * s) * std::exp(-(q1 * q1 + q2 * q2) / (2 * s * s));
  EXPECT_NEAR(line_integral(k, k.candidate(2, rx, ry, rz), false, {}), oblique, 1e-5 * oblique);
}

// Conditioned on the last partner's displacement m, the density is the Gaussian of spread
// sqrt(1 - c^2) σ about c σ m.
TEST(HitTerm, ConditionalLineIntegral) {
  const float c = 0.4f;
  const PolicyCase k({{0.05f, 0.08f, 0.11f}, {0.07f, 0.07f, 0.07f}}, correlation(c, 2.0f));
  const LastPartner last{2, 1.0f, 1.0f, 1.5f, {0.9f, -1.3f, 0.4f}};
  const double F = k.ion.cross_section, s2 = 1.0 - c * c;
  const double sx = 0.05, sy = 0.08, rx = 0.06, ry = -0.02;
  const double mx = rx - c * sx * 0.9, my = ry - c * sy * -1.3;
  const double expected = F / (2 * kPi * sx * sy * s2) *
                          std::exp(-mx * mx / (2 * sx * sx * s2) - my * my / (2 * sy * sy * s2));
  EXPECT_NEAR(line_integral(k, k.candidate(1, 0.06f, -0.02f, 0.3f), true, last), expected,
              1e-5 * expected);
}

}  // namespace
