// An atom that nothing shadows: its hitting probability must not depend on the flux, and
// must be 1, in shadowing and in blocking runs. Errors come from the spread over seeds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "tracking_case.h"

namespace {

using engine_test::kDegree;
using engine_test::TrackingCase;

// One atom (σ 0.05 Å, Gaussian reach 0.23 Å) in the middle of a 0.7 Å cell: small, so that a
// high flux stays cheap, yet no ion comes near two images of the atom.
constexpr float kCell = 0.7f;
constexpr float kSigma = 0.05f;
// The start points form a regular grid, so the Gaussian is summed as a quadrature whose error
// (a few 1E-4 at these grids, read through a table of step 0.008 in the exponent) the spread
// over seeds does not show; it is a tenth of the 0.4 % that a table evaluated at the edge of
// its rounding interval would give.
constexpr double kQuadrature = 1.0e-3;

TrackingCase isolated_atom() {
  TrackingCase k(kCell, kCell, {0.0f}, {0.0f}, {-1.0f});
  k.add_atom(kCell / 2, kCell / 2, 0.0f, 1, 1, 1, kSigma);
  k.derive();
  k.set_tables(120.0f * kDegree, 0.1f * kDegree);
  return k;
}

// Mean hitting probability over seeds and its standard error.
struct Estimate {
  double mean = 0.0;
  double error = 0.0;
};

// The probability of the isolated atom for ions along `polar` (radians) at `flux` ions/Å^2
// (across the beam), over `seeds` runs; a nonzero angle index makes them blocking runs.
Estimate probability(double flux, float polar, std::int32_t angle_index, int seeds) {
  TrackingCase k = isolated_atom();
  k.aim(polar, 0.0f, 120.0f * kDegree, static_cast<std::int32_t>(flux * kCell * kCell));
  k.run.angle_index = angle_index;
  std::vector<double> p;
  for (int seed = 1; seed <= seeds; ++seed) p.push_back(k.hitting_probability(k.launch(seed), 1));
  double sum = 0.0, sum2 = 0.0;
  for (const double x : p) sum += x;
  const double mean = sum / seeds;
  for (const double x : p) sum2 += (x - mean) * (x - mean);
  return {mean, std::sqrt(sum2 / (seeds - 1) / seeds)};
}

// Four standard errors of the difference of two estimates, and the quadrature error.
double allowed(const Estimate& a, const Estimate& b) {
  return 4.0 * std::hypot(a.error, b.error) + kQuadrature;
}

TEST(IsolatedAtom, HitProbabilityDoesNotDriftWithTheFlux) {
  const Estimate low = probability(1.0e4, 0.0f, 0, 3);
  for (const double flux : {1.0e6, 4.0e6}) {
    const Estimate high = probability(flux, 0.0f, 0, 2);
    EXPECT_NEAR(high.mean, low.mean, allowed(high, low)) << flux << " ions/Å^2";
  }
}

// Nothing shadows the atom, so every ion of the run direction passes its site with the
// atom's full Gaussian density: probability 1, for the beam and for the smeared directions
// of a blocking run alike. The Gaussian is cut where it falls below e^-10.4 (3E-5).
TEST(IsolatedAtom, UnshadowedAtomIsHitWithProbabilityOne) {
  const struct {
    const char* run;
    float polar;
    std::int32_t angle_index;
  } runs[] = {{"shadowing, normal incidence", 0.0f, 0},
              {"shadowing, 40 degree", 40.0f * kDegree, 0},
              {"blocking, 25 degree", 25.0f * kDegree, 1}};
  for (const auto& r : runs) {
    const Estimate p = probability(1.0e5, r.polar, r.angle_index, 4);
    EXPECT_NEAR(p.mean, 1.0, allowed(p, {}) + 3.0e-5) << r.run;
  }
}

}  // namespace
