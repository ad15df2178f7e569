// Whole monosim simulations of a column of two copper atoms under 100 keV protons, against
// physics: with equal amplitudes along x, y and z the line-integral estimator agrees with
// polysim's partner estimator on the same crystal; an amplitude along the beam does not change
// shadowing, one across it does, and a larger depth amplitude weakens blocking along a grazing
// row more than along a row on the normal; correlated vibrations with coefficient c act on the
// shadowed atom as uncorrelated ones of amplitude sqrt(1 - c) times as large; c = 0 is exactly
// no correlation; and the results do not depend on the thread count. Tolerances are four
// standard errors over independent seeds.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "mono_case.h"
#include "polysim/simulate.h"

namespace {

using monosim::MonoResults;
using monosim::PreparedMono;
using monosim_test::batches;
using monosim_test::Column;
using monosim_test::Estimate;
using monosim_test::kSanitized;
using monosim_test::separation;
using monosim_test::Vibration;
using monosim_test::with_amplitudes;

// Under the sanitizers fewer and smaller runs, too small for the comparisons: there they only
// have to finish with finite results.
const int kBatches = kSanitized ? 3 : 6;
const float kFlux = kSanitized ? 150.0f : 1000.0f;  // ions per Å^2: 16000 ions a run

// a and b agree within four standard errors of their difference.
void expect_agree(const Estimate& a, const Estimate& b) {
  EXPECT_TRUE(std::isfinite(a.mean) && std::isfinite(b.mean));
  if (kSanitized) return;
  EXPECT_LT(separation(a, b), 4.0)
      << a.mean << " +- " << a.error << " against " << b.mean << " +- " << b.error;
}

// `by` lies more than four of its standard errors above 0.
void expect_positive(const Estimate& by) {
  EXPECT_TRUE(std::isfinite(by.mean));
  if (kSanitized) return;
  EXPECT_GT(by.mean, 4.0 * by.error) << by.mean << " +- " << by.error;
}
constexpr float kDegree = 0.0174532925f;

// The column at normal incidence; a blocking flux of 0 runs one ion per blocking run.
Column column(bool blocking = false) {
  Column c;
  c.shadow_flux = kFlux;
  c.block_flux = blocking ? kFlux : 0.0f;
  return c;
}

double shadowed(const MonoResults& r) {
  return r.hit_probability[1];
}
// The blocking leg alone: the yield over the hitting probability.
double blocking_leg(const MonoResults& r) {
  return r.yield_at(2, 1) / r.hit_probability[1];
}

Estimate difference(const Estimate& after, const Estimate& before) {
  return {after.mean - before.mean, std::hypot(after.error, before.error)};
}

// monosim and polysim on the same crystal (polysim with each atom's one amplitude): the
// shadowed atom's hitting probability and blocked yield, from the same batches.
TEST(MonoSimulation, EqualAmplitudesAgreeWithPolysim) {
  const PreparedMono p = monosim_test::prepared(column(true));
  const polysim::PreparedRun run = polysim::prepare_run(p.input.base, monosim_test::fixed_tables());
  std::vector<double> mono[2], poly[2];
  polysim::SilentProgress silent;
  for (int seed = 1; seed <= kBatches; ++seed) {
    const MonoResults m = monosim_test::run(p, seed);
    mono[0].push_back(m.hit_probability[1]);
    mono[1].push_back(m.yield_at(2, 1));
    const polysim::RunResults r =
        polysim::simulate(run, monosim_test::fixed_tables(), {seed + 100, 1}, silent);
    poly[0].push_back(r.hit_probability(1, 1, 2));
    poly[1].push_back(r.block_yield(1, 1, 2, 1));
  }
  for (int k = 0; k < 2; ++k) {
    const Estimate a = monosim_test::estimate(mono[k]), b = monosim_test::estimate(poly[k]);
    // Atom 2 lies in the shadow of atom 1.
    EXPECT_TRUE(kSanitized || (a.mean > 0.1 && a.mean < 0.9)) << k << ": " << a.mean;
    expect_agree(a, b);
  }
}

// Normal incidence along the column: the shadowed atom sees the relative displacement across
// the beam only. Doubling σz changes nothing; doubling σx raises its hitting probability, and
// less than doubling σx and σy together.
TEST(MonoSimulation, AmplitudesAcrossTheBeamShadowAlongItDoNot) {
  const PreparedMono p = monosim_test::prepared(column());
  const Vibration deep{0.06f, 0.06f, 0.12f};
  const Vibration wide_x{0.12f, 0.06f, 0.06f}, wide_xy{0.12f, 0.12f, 0.06f};
  const Estimate p0 = batches(p, kBatches, shadowed);
  const Estimate pz = batches(with_amplitudes(p, deep, deep), kBatches, shadowed);
  const Estimate px = batches(with_amplitudes(p, wide_x, wide_x), kBatches, shadowed);
  const Estimate pxy = batches(with_amplitudes(p, wide_xy, wide_xy), kBatches, shadowed);
  expect_agree(pz, p0);
  expect_positive(difference(px, p0));
  expect_positive(difference(pxy, px));
}

// The row from atom 2 to atom 1 along the normal (exit polar 0) or 75 degree from it (exit
// polar 75): the larger depth amplitude lies along the first row and almost across the second.
TEST(MonoSimulation, DepthAmplitudeWeakensBlockingAlongAGrazingRowMore) {
  Column normal = column(true);
  normal.polar = 60.0f;  // exit along the normal: 180 - 60 - 120
  Column grazing = column(true);
  grazing.offset[0] = 1.5f * std::sin(75.0f * kDegree);
  grazing.offset[2] = 1.5f * std::cos(75.0f * kDegree);
  grazing.azimuth = 180.0f;  // exit toward -x, 75 degree from the normal: 180 - 0 - 105
  grazing.detection = 105.0f;
  const Vibration base{0.06f, 0.06f, 0.06f}, deep{0.06f, 0.06f, 0.12f};
  auto change = [&](const Column& c) {
    const PreparedMono p = monosim_test::prepared(c);
    return difference(batches(with_amplitudes(p, deep, deep), kBatches, blocking_leg),
                      batches(with_amplitudes(p, base, base), kBatches, blocking_leg));
  };
  const Estimate along = change(normal), across = change(grazing);
  expect_positive(across);  // less blocked
  expect_positive({across.mean - std::fabs(along.mean), std::hypot(along.error, across.error)});
}

// Atom 2 is met after atom 1 by every ion: its displacement relative to atom 1 has the
// variance 2 σ^2 (1 - c) per axis, that of uncorrelated atoms of amplitude σ sqrt(1 - c).
TEST(MonoSimulation, CorrelationActsAsTheReducedRelativeAmplitude) {
  const float sigma = 0.08f, c = 0.5f, s = sigma * std::sqrt(1.0f - c);
  Column correlated = column();
  correlated.top = correlated.below = {sigma, sigma, sigma};
  correlated.correlation_flag = 1;
  correlated.c = c;
  const PreparedMono p = monosim_test::prepared(correlated);
  PreparedMono plain = p;
  plain.correlation = {};
  const std::vector<MonoResults> correlated_runs = monosim_test::runs(p, kBatches);
  const Estimate pc = monosim_test::estimate_of(correlated_runs, shadowed);
  const Estimate pr = batches(with_amplitudes(plain, {s, s, s}, {s, s, s}), kBatches, shadowed);
  const Estimate pp = batches(plain, kBatches, shadowed);
  expect_agree(pc, pr);
  expect_positive(difference(pp, pc));
  // Atom 1 is met first, unconditioned: hit with probability 1.
  const Estimate top = batches(
      p, kBatches, [](const MonoResults& r) { return static_cast<double>(r.hit_probability[0]); });
  expect_agree(top, {1.0, 0.001});
}

TEST(MonoSimulation, ZeroCoefficientAndThreadCountChangeNothing) {
  Column off = column(true);
  off.shadow_flux = off.block_flux = 100.0f;
  off.top = {0.05f, 0.07f, 0.09f};
  Column zero = off;
  zero.correlation_flag = 1;
  zero.c = 0.0f;
  const MonoResults reference = monosim_test::run(monosim_test::prepared(off), 42, 1);
  const PreparedMono p = monosim_test::prepared(zero);
  EXPECT_TRUE(p.correlation.on);
  for (const int threads : {1, 2, 3}) {
    const MonoResults r = monosim_test::run(p, 42, threads);
    EXPECT_EQ(r.hit_probability, reference.hit_probability) << threads;
    EXPECT_EQ(r.yield, reference.yield) << threads;
  }
}

}  // namespace
