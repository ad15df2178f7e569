// The property the multi-model runs rest on: the hit sums that re-weighting gives for a
// model pair agree, within Monte-Carlo error, with a direct run whose atom sits and
// vibrates as that model says. A grazing beam (walked in X mode) meets a front atom that
// moves sideways, in depth or changes its amplitude: the front atom's own hits test the hit
// formula, the hits of the atoms behind it test the weights that the encounter with the
// front atom left on the ion (deflected ions for the atom in its shadow, undeflected ones
// for the atom beside it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tracking_case.h"

namespace {

using engine_test::kDegree;
using engine_test::TrackingCase;

const float kPolar = 70.0f * kDegree;  // mostly across the path: a depth shift is seen
constexpr std::int32_t kBatches = 16;  // independent runs, for the error of the mean
constexpr std::int32_t kMultiIons = 20000;
constexpr std::int32_t kDirectIons = 10000;

// Atom 1 at the origin; 0.8 Å deeper along the beam, atom 2 0.05 Å to the side of its
// shadow (so that shifts to either side differ) and atom 3 0.55 Å to the side, near the
// interaction radius of atom 1, where ions that pass atom 1 undeflected reach it. σ 0.1 Å.
TrackingCase grazing_row() {
  const float dz = 0.8f, dx = dz * std::tan(kPolar);
  TrackingCase k(2.0f * dx, 2.0f, {0.0f, dx}, {0.0f, 0.5f}, {-0.4f, 0.4f});
  k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, 0.1f);
  k.add_atom(dx, 0.05f, dz - 0.05f, 2, 1, 2, 0.1f);
  k.add_atom(dx, 0.62f, dz, 2, 2, 2, 0.1f);
  return k;
}

void finish(TrackingCase& k, std::int32_t ions) {
  k.derive();
  k.set_tables(120.0f * kDegree, 0.1f * kDegree);
  k.aim(kPolar, 0.0f, 120.0f * kDegree, ions);
}

// Mean of the batches' tallies of one hit sum, and its standard error.
struct Estimate {
  double mean = 0.0, error = 0.0;
};

Estimate estimate(const std::vector<engine::HitTally>& runs, std::int32_t v, std::int32_t s,
                  std::int32_t a, double scale) {
  double sum = 0.0, sum2 = 0.0;
  for (const engine::HitTally& run : runs) {
    const double x = run.hit(v, s, a) * scale;
    sum += x;
    sum2 += x * x;
  }
  const double n = static_cast<double>(runs.size());
  const double mean = sum / n;
  return {mean, std::sqrt(std::max(0.0, sum2 / n - mean * mean) / (n - 1.0))};
}

std::vector<engine::HitTally> batches(const TrackingCase& k) {
  std::vector<engine::HitTally> runs;
  for (std::int32_t b = 0; b < kBatches; ++b) runs.push_back(k.launch(1000 + 7919 * b));
  return runs;
}

// Models of the front atom: structure models 2.. shift it, vibration models 2.. set σ. With
// `vibrated` 0 the front atom has no model amplitudes (N18 = 1 > N19 = 0).
void check_models(const std::vector<engine::Shift>& shifts, const std::vector<float>& sigmas,
                  std::int32_t expected_class, std::int32_t vibrated = 1) {
  const auto n10 = static_cast<std::int32_t>(shifts.size()) + 1;
  const auto n11 = static_cast<std::int32_t>(sigmas.size()) + 1;
  TrackingCase multi = grazing_row();
  multi.set_models(n10, 1, n11, vibrated);
  for (std::int32_t s = 2; s <= n10; ++s) multi.models.shift(s, 1) = shifts[s - 2];
  for (std::int32_t v = 2; v <= n11; ++v) multi.models.sigma(v, 1) = sigmas[v - 2];
  finish(multi, kMultiIons);
  ASSERT_EQ(multi.atom(1).change_class, expected_class);
  const std::vector<engine::HitTally> reweighted = batches(multi);
  for (std::int32_t s = 1; s <= n10; ++s) {
    for (std::int32_t v = 1; v <= n11; ++v) {
      if (s == 1 && v == 1) continue;
      TrackingCase direct = grazing_row();
      const engine::Shift& d = multi.models.shift(s, 1);
      direct.atom(1).x += d.dx;
      direct.atom(1).y += d.dy;
      direct.atom(1).z += d.dz;
      direct.atom(1).sigma = multi.models.sigma(v, 1);
      finish(direct, kDirectIons);
      direct.crystal.z_min = multi.crystal.z_min;  // the same start depth and end depth
      direct.tables.z_end = multi.tables.z_end;
      const std::vector<engine::HitTally> plain = batches(direct);
      // Equal flux: the direct runs started half as many ions per batch.
      const double scale = static_cast<double>(reweighted[0].ions_run) / plain[0].ions_run;
      for (std::int32_t a = 1; a <= 3; ++a) {
        const Estimate m = estimate(reweighted, v, s, a, 1.0);
        const Estimate r = estimate(reweighted, 1, 1, a, 1.0);
        const Estimate p = estimate(plain, 1, 1, a, scale);
        // Four standard errors, and 1 % for the resolution of the tables (exponent steps of
        // 0.008, rings of 0.01 Å) and for the part of a shift along the path, which the
        // re-weighting does not carry (its weights are densities across the path).
        const double tolerance = 4.0 * std::hypot(m.error, p.error) + 0.01 * p.mean;
        EXPECT_NEAR(m.mean, p.mean, tolerance) << "model pair " << s << "," << v << " atom " << a;
        // The comparison has power: what the model changes is of the order of what it
        // tolerates or more (the front atom's hits change only with its amplitude, those of
        // atom 3 hardly at all).
        if (a == 2 || (a == 1 && v > 1)) {
          EXPECT_GT(std::fabs(p.mean - r.mean), 0.5 * tolerance)
              << "model pair " << s << "," << v << " atom " << a;
        }
      }
    }
  }
}

TEST(Reweighting, ShiftedSitesMatchDirectRuns) {
  // Sideways (across the path only), then in depth (the last model decides: class 3).
  check_models({{0.0f, -0.1f, 0.0f}, {0.0f, 0.0f, 0.1f}}, {}, 3);
}

// The commonest scan: structure models only, no vibration model (N19 = 0); the displaced
// atom vibrates with its own amplitude and is re-weighted like any other.
TEST(Reweighting, StructureModelsWithoutVibrationModelsMatchDirectRuns) {
  check_models({{0.0f, -0.1f, 0.0f}, {0.0f, 0.0f, 0.1f}}, {}, 3, 0);
}

TEST(Reweighting, ChangedAmplitudesMatchDirectRuns) {
  check_models({}, {0.085f, 0.115f}, 2);
}

TEST(Reweighting, ShiftWithChangedAmplitudeMatchesDirectRuns) {
  check_models({{0.0f, -0.07f, 0.07f}}, {0.115f}, 6);
}

// Physics of shadowing: atom 2 sits 2.55 Å behind atom 1 (σ 0.05 Å) along the beam of
// 100 keV protons, whose shadow cone there has a radius of about 0.2 Å. A sharply placed
// atom 2 is hidden; one that vibrates far beyond the cone is hit as often as atom 1.
TEST(Shadowing, SecondAtomOfARowEmergesAsItsVibrationOutgrowsTheShadowCone) {
  std::vector<double> ratio;
  for (const float sigma : {0.01f, 0.03f, 0.1f, 0.3f, 0.6f}) {
    TrackingCase k(6.0f, 6.0f, {0.0f}, {0.0f}, {-0.5f, 1.0f});
    k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, 0.05f);
    k.add_atom(0.0f, 0.0f, 2.55f, 1, 1, 2, sigma);
    k.derive();
    k.set_tables(120.0f * kDegree, 0.1f * kDegree);
    k.aim(0.0f, 0.0f, 120.0f * kDegree, 40000);
    const engine::HitTally tally = k.launch(2024);
    // Hit sums times the Gaussian coefficient are proportional to hitting probabilities.
    ratio.push_back(tally.hit(1, 1, 2) * k.atom(2).gauss_coeff /
                    (tally.hit(1, 1, 1) * k.atom(1).gauss_coeff));
  }
  EXPECT_LT(ratio.front(), 0.01);
  for (std::size_t i = 1; i < ratio.size(); ++i) EXPECT_GT(ratio[i], ratio[i - 1]) << i;
  EXPECT_GT(ratio.back(), 0.97);
  EXPECT_LT(ratio.back(), 1.01);
}

}  // namespace
