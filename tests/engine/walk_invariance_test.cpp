// Invariants of the walk: an atom that nothing shadows, and the second atom of a pair on the
// beam line, are hit with the same probabilities whatever the beam direction and the
// direction of travel, on both sides of the switch between the layer walk and the column
// walks, and whatever empty columns the cell grid holds far from the atoms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tracking_case.h"

namespace {

using engine_test::kDegree;
using engine_test::TrackingCase;

constexpr float kDistance = 4.0f;  // Å from the first atom to the second along the beam
constexpr float kSigma = 0.12f;    // Å, both atoms
// Empty column edges keep at least this distance (Å) from the atoms, and a coordinate of an
// atom closer than this to an edge takes that edge's cell: the interaction radius (0.54 Å),
// the hit reach sqrt(20.8) σ (0.55 Å) and the lateral run of a layer walk between a layer's
// top edge and its atoms (at most 0.3 Å) together stay below it, so the cells examined around
// any point hold every atom within reach of it.
constexpr float kShare = 1.4f;
constexpr float kLayerTop = 0.3f;  // Å from a layer's top edge down to its atoms
constexpr int kBatches = 8;
// Ions per batch and Å^2 across the beam: a start grid about σ/4 fine, so that the random
// starts (one per grid cell) sample the Gaussian of an atom evenly. The sanitized build runs
// the same cases with a quarter of the ions (and twice the statistical error).
#if defined(__SANITIZE_ADDRESS__)
constexpr float kFlux = 250.0f;
#else
constexpr float kFlux = 1000.0f;
#endif

struct Direction {
  float polar = 0.0f, azimuth = 0.0f;  // degrees
};

std::string describe(const Direction& d) {
  return "polar " + std::to_string(d.polar) + " azimuth " + std::to_string(d.azimuth);
}

// The square repeat cell and whether the gaps between the atoms' columns are filled with
// empty columns (as densely as kShare allows) along x and along y.
struct Grid {
  float repeat = 8.0f;
  bool fill_x = false, fill_y = false;
};

// Periodic distance (Å) between two coordinates.
float apart(float a, float b, float period) {
  return std::fabs(std::remainder(a - b, period));
}

// The edges of one axis: 0 and, when it lies at least kShare from 0 (periodically), the
// coordinate c of the second atom, folded into the cell; with `fill` the gaps between them
// take evenly spaced empty edges at least kShare apart. Returns c as the atom keeps it:
// folded on its own edge, or measured from 0 (possibly negative) when it shares cell 1.
float lay_out_axis(float c, bool fill, float period, std::vector<float>& edges) {
  edges = {0.0f};
  float kept = std::remainder(c, period);
  if (apart(c, 0.0f, period) >= kShare) {
    kept = c - std::floor(c / period) * period;
    edges.push_back(kept);
  }
  if (fill) {
    const std::vector<float> atoms = edges;
    for (std::size_t i = 0; i < atoms.size(); ++i) {
      const float from = atoms[i];
      const float to = i + 1 < atoms.size() ? atoms[i + 1] : period;
      const int gaps = static_cast<int>((to - from) / kShare);
      for (int g = 1; g < gaps; ++g) edges.push_back(from + (to - from) * g / gaps);
    }
  }
  std::sort(edges.begin(), edges.end());
  return kept;
}

// The cell (from 1) of the edge nearest to a coordinate.
std::int32_t cell_of(const std::vector<float>& edges, float c, float period) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < edges.size(); ++i)
    if (apart(c, edges[i], period) < apart(c, edges[best], period)) best = i;
  return static_cast<std::int32_t>(best) + 1;
}

// Atom 1 at the origin and, when `pair`, atom 2 kDistance along the beam direction, so that
// the pair turns with the beam (atom 1 alone when not). Atom 2 has a layer of its own when it
// lies at least 2 kShare deeper; otherwise the two share one layer (the column walks meet
// them at different planes). Random starts; the reference direction 120 degrees on.
TrackingCase beam_line_atoms(const Direction& beam, bool pair, const Grid& grid) {
  const float polar = beam.polar * kDegree, azimuth = beam.azimuth * kDegree;
  const float reach = pair ? kDistance : 0.0f;
  const float z2 = reach * std::cos(polar);
  std::vector<float> x_edges, y_edges;
  const float x2 =
      lay_out_axis(reach * std::sin(polar) * std::cos(azimuth), grid.fill_x, grid.repeat, x_edges);
  const float y2 =
      lay_out_axis(reach * std::sin(polar) * std::sin(azimuth), grid.fill_y, grid.repeat, y_edges);
  const bool own_layer = z2 >= 2.0f * kShare;
  std::vector<float> z_edges{-kLayerTop};
  if (own_layer) z_edges.push_back(z2 - kLayerTop);
  TrackingCase k(grid.repeat, grid.repeat, x_edges, y_edges, z_edges);
  k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, kSigma);
  if (pair)
    k.add_atom(x2, y2, z2, cell_of(x_edges, x2, grid.repeat), cell_of(y_edges, y2, grid.repeat),
               own_layer ? 2 : 1, kSigma);
  k.derive();
  k.set_tables(120.0f * kDegree, 0.1f * kDegree);
  const float ions = kFlux * grid.repeat * grid.repeat * std::cos(polar);
  k.aim(polar, azimuth, 120.0f * kDegree, static_cast<std::int32_t>(ions));
  k.run.start_mode = 1;
  return k;
}

// Hitting probabilities of the atoms: the mean over batches of random starts with its
// standard error. The batches are runs of one seed with run numbers 1, 2, ...: independent
// streams.
struct Estimate {
  std::vector<double> mean, error;
};

Estimate estimate(const TrackingCase& k) {
  const auto atoms = k.crystal.atoms.size();
  std::vector<double> sum(atoms), sum2(atoms);
  for (int b = 1; b <= kBatches; ++b) {
    const engine::HitTally tally = k.launch(2718281, static_cast<std::uint64_t>(b));
    for (std::size_t a = 0; a < atoms; ++a) {
      const double p = k.hitting_probability(tally, static_cast<std::int32_t>(a + 1));
      sum[a] += p;
      sum2[a] += p * p;
    }
  }
  Estimate e;
  for (std::size_t a = 0; a < atoms; ++a) {
    const double mean = sum[a] / kBatches;
    const double spread = std::max(0.0, sum2[a] / kBatches - mean * mean) / (kBatches - 1.0);
    e.mean.push_back(mean);
    e.error.push_back(std::sqrt(spread));
  }
  return e;
}

// The estimates agree atom by atom within five standard errors of their difference (the
// errors themselves come from few batches).
void expect_same(const Estimate& a, const Estimate& b, const std::string& what) {
  ASSERT_EQ(a.mean.size(), b.mean.size());
  for (std::size_t i = 0; i < a.mean.size(); ++i) {
    EXPECT_NEAR(a.mean[i], b.mean[i], 5.0 * std::hypot(a.error[i], b.error[i]))
        << what << ", atom " << i + 1;
  }
}

// Beam azimuths (degrees) of the column walks along +x, +y, -x and -y.
constexpr float kAzimuths[] = {0.0f,   5.0f,   30.0f,  45.0f,  90.0f,
                               180.0f, 185.0f, 210.0f, 225.0f, 270.0f};

TEST(WalkInvariance, UnshadowedAtomIsHitAlikeFromEveryDirection) {
  // Normal incidence (layer walk) against polar 76 degrees (slope 4, column walks), in cells
  // whose columns are one repeat wide along one axis and narrow along the other: the line
  // crosses a wide column's plane far across from where it entered the column.
  for (const Grid grid : {Grid{8.0f, false, true}, Grid{8.0f, true, false}}) {
    const Estimate normal = estimate(beam_line_atoms({0.0f, 0.0f}, false, grid));
    for (const float azimuth : kAzimuths) {
      const Direction beam{76.0f, azimuth};
      expect_same(normal, estimate(beam_line_atoms(beam, false, grid)),
                  describe(beam) + (grid.fill_x ? " narrow x" : " narrow y"));
    }
  }
}

TEST(WalkInvariance, PairOnTheBeamLineIsHitAlikeFromEveryDirection) {
  const Grid grid{8.0f, true, true};
  const Estimate normal = estimate(beam_line_atoms({0.0f, 0.0f}, true, grid));
  for (const float azimuth : kAzimuths) {
    const Direction beam{76.0f, azimuth};
    expect_same(normal, estimate(beam_line_atoms(beam, true, grid)), describe(beam));
  }
}

TEST(WalkInvariance, ContinuousAcrossTheModeSwitch) {
  const Grid grid{8.0f, true, true};
  // Slopes 0.9965 (layer walk) and 1.0035 (column walks along x, y and -x).
  for (const float azimuth : {0.0f, 90.0f, 180.0f}) {
    const Direction below{44.9f, azimuth}, above{45.1f, azimuth};
    expect_same(estimate(beam_line_atoms(below, true, grid)),
                estimate(beam_line_atoms(above, true, grid)),
                describe(below) + " and " + describe(above));
  }
  // Blocking runs: at polar 45.3 degrees (tan 1.0105) the slope along x passes 1 at azimuth
  // 8.27 degrees, and the azimuthal smear (up to 0.48 degrees) sends the ions of a beam near it
  // into both walks, whichever side the beam lies on. Against all ions in the layer walk.
  const auto blocking = [&grid](float azimuth) {
    TrackingCase k = beam_line_atoms({45.3f, azimuth}, true, grid);
    k.run.angle_index = 1;
    return estimate(k);
  };
  const Estimate layer_walk = blocking(10.0f);
  for (const float azimuth : {6.5f, 8.0f, 8.5f})
    expect_same(layer_walk, blocking(azimuth), "blocking at azimuth " + std::to_string(azimuth));
}

TEST(WalkInvariance, EmptyColumnsFarFromTheAtomsChangeNothing) {
  for (const Direction beam : {Direction{76.0f, 5.0f}, Direction{76.0f, 40.0f},
                               Direction{76.0f, 185.0f}, Direction{30.0f, 20.0f}}) {
    const Estimate bare = estimate(beam_line_atoms(beam, true, Grid{}));
    for (const Grid grid : {Grid{8.0f, true, false}, Grid{8.0f, false, true}})
      expect_same(bare, estimate(beam_line_atoms(beam, true, grid)),
                  describe(beam) + (grid.fill_x ? " x filled" : " y filled"));
  }
}

}  // namespace
