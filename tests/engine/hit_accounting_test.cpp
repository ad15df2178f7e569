// Hit accounting at a partner, class by class, and the miss-probability ring tables behind
// the weights of undeflected passages.
#include "engine/hit_accounting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/beam_setup.h"
#include "engine/errors.h"
#include "tracking_case.h"

namespace {

using engine_test::fixed_tables;
using engine_test::kDegree;
using engine_test::TrackingCase;

// 2D Gaussian density ratio of a displacement d2 = |δ|^2 across the path under amplitude
// sigma to that under the reference amplitude.
double density_ratio(double d2, double shifted2, double sigma, double reference) {
  return (reference * reference) / (sigma * sigma) *
         std::exp(-shifted2 / (2 * sigma * sigma) + d2 / (2 * reference * reference));
}

// Probability that an atom vibrating with `sigma` about a site at distance r from the ion
// path lies outside the circle of radius `reach` around the path, by brute force.
double miss_probability(double r, double reach, double sigma) {
  const double h = sigma / 60.0, tail = 7.0 * sigma;  // beyond the tail: nothing
  double inside = 0.0;
  for (double x = std::max(r - reach, -tail) + h / 2; x < std::min(r + reach, tail); x += h)
    for (double y = h / 2; y < std::min(reach, tail); y += h)
      if ((x - r) * (x - r) + y * y < reach * reach)
        inside += 2.0 * std::exp(-(x * x + y * y) / (2 * sigma * sigma));
  return 1.0 - inside * h * h / (2 * M_PI * sigma * sigma);
}

// One atom (σ 0.1 Å) at the origin with the given models, an ion along the surface normal
// with distinct weights, and a partner placed by hand.
struct Accounting {
  TrackingCase k{4.0f, 4.0f, {0.0f}, {0.0f}, {-1.0f}};
  engine::IonState ion;
  engine::HitTally tally;

  Accounting(std::int32_t structures, std::int32_t vibrations) {
    k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, 0.1f);
    k.set_models(structures, 1, vibrations, 1);
  }
  void finish() {
    k.derive();
    k.set_tables(120.0f * kDegree, 0.1f * kDegree);
    const std::vector<float> none{0.0f};
    const engine::ScatteringReference u = engine::reference_direction(0.0f, 2.0f, none);
    ion = engine::set_up_beam(0.0f, 0.0f, 2.0f, u, 0.0f, 0.5f,
                              k.models.structure_count * k.models.vibration_count, 1)
              .ion;
    for (std::size_t p = 0; p < ion.weight.size(); ++p) ion.weight[p] = 1.0f + 0.25f * p;
    tally = engine::HitTally(k.models.vibration_count, k.models.structure_count, 1);
  }
  // Partner with the site at (x, y) across the path (hit offset 0) and displacement (dx, dy, 0);
  // inside or outside the interaction radius as `w` says.
  void meet(float x, float y, float dx, float dy, float w) {
    engine::Partner partner;
    partner.atom = 1;
    partner.site = {x, y};
    partner.hit = {x, y};
    partner.displacement = {dx, dy, 0.0f};  // along the normal: (dx, dy) across the path
    partner.w = w;
    const engine::CellLookup cells = engine::make_cell_lookup(k.crystal);
    const engine::TrackingContext context{k.crystal, k.models, fixed_tables(), k.tables, cells,
                                          {},        1.0f};
    engine::PartnerAccounting(context).account(ion, partner, tally);
  }
  float weight(std::int32_t s, std::int32_t v) const {
    return ion.weight[static_cast<std::size_t>((s - 1) * k.models.vibration_count + v - 1)];
  }
};

TEST(HitAccounting, ClassOneOnlyAddsWeightTimesTheGaussian) {
  Accounting a(2, 2);
  a.finish();
  ASSERT_EQ(a.k.atom(1).change_class, 1);
  const std::vector<float> before = a.ion.weight;
  const float d2 = 0.05f * 0.05f + 0.02f * 0.02f;
  a.meet(0.05f, 0.02f, 0.01f, 0.0f, 0.5f);  // near, inside
  a.meet(0.05f, 0.02f, 0.3f, 0.2f, 4.0f);   // near, outside
  a.meet(0.9f, 0.0f, 0.0f, 0.0f, 3.0f);     // far: nothing
  EXPECT_EQ(a.ion.weight, before);
  const float g = fixed_tables().exp_scaled(-a.k.atom(1).gauss_coeff * d2);
  for (std::int32_t s = 1; s <= 2; ++s)
    for (std::int32_t v = 1; v <= 2; ++v)
      EXPECT_FLOAT_EQ(a.tally.hit(v, s, 1), 2.0f * a.weight(s, v) * g) << s << v;
}

// A run at a high flux adds many millions of small terms to one hit sum; none may be lost
// once the sum is large (a 32-bit sum stops growing when it reaches 2^24 times a term).
TEST(HitAccounting, SumKeepsEveryTermOfManyMillionsOfPassages) {
  Accounting a(1, 1);
  a.finish();
  const engine::CellLookup cells = engine::make_cell_lookup(a.k.crystal);
  const engine::TrackingContext context{a.k.crystal, a.k.models, fixed_tables(), a.k.tables, cells,
                                        {},          1.0f};
  const engine::PartnerAccounting accounting(context);
  engine::Partner partner;
  partner.atom = 1;
  partner.w = 2.0f;  // outside: a class-1 atom only adds its hit
  // Passages on a 4000 x 4000 grid of 0.0001 Å over the atom's near region: 1.6E7 terms, as an
  // ion run at 4E6 ions/Å^2 over a 2 x 2 Å cell (1.4E6 under the sanitizer, still enough to
  // lose terms in a 32-bit sum).
  constexpr int kSide = engine_test::kSanitized ? 1200 : 4000;
  const float coeff = a.k.atom(1).gauss_coeff;
  const float weight = a.ion.weight[0];
  long double exact = 0.0L;
  for (int i = 0; i < kSide; ++i)
    for (int j = 0; j < kSide; ++j) {
      partner.hit = {0.0001f * static_cast<float>(i - kSide / 2),
                     0.0001f * static_cast<float>(j - kSide / 2)};
      accounting.account(a.ion, partner, a.tally);
      const float d2 = partner.hit.e1 * partner.hit.e1 + partner.hit.e2 * partner.hit.e2;
      if (d2 <= a.k.atom(1).reach2) exact += weight * fixed_tables().exp_scaled(-coeff * d2);
    }
  ASSERT_GT(exact, 1.0e6L);
  EXPECT_NEAR(a.tally.hit(1, 1, 1) / static_cast<double>(exact), 1.0, 1.0e-9);
}

TEST(HitAccounting, ChangedAmplitudeWeighsByTheDensityRatio) {
  Accounting a(2, 2);
  a.k.models.sigma(2, 1) = 0.13f;
  a.finish();
  ASSERT_EQ(a.k.atom(1).change_class, 2);
  const std::vector<float> before = a.ion.weight;
  a.meet(0.06f, -0.03f, 0.07f, 0.02f, 0.3f);  // near, inside
  const double d2 = 0.07 * 0.07 + 0.02 * 0.02;
  const double hit2 = 0.06 * 0.06 + 0.03 * 0.03;
  for (std::int32_t s = 1; s <= 2; ++s) {
    const auto p1 = static_cast<std::size_t>((s - 1) * 2), p2 = p1 + 1;
    EXPECT_FLOAT_EQ(a.ion.weight[p1], before[p1]);  // model 1 has the reference amplitude
    EXPECT_NEAR(a.ion.weight[p2] / before[p2], density_ratio(d2, d2, 0.13, 0.1), 0.006);
    // The hits used the weights from before the update, with each model's amplitude.
    EXPECT_NEAR(a.tally.hit(1, s, 1) / before[p1], std::exp(-hit2 / 0.02), 0.006);
    EXPECT_NEAR(a.tally.hit(2, s, 1) / before[p2], std::exp(-hit2 / (2 * 0.13 * 0.13)), 0.006);
  }
}

TEST(HitAccounting, ShiftedSiteWeighsByTheDensityRatioAcrossThePath) {
  Accounting a(2, 2);
  a.k.models.shift(2, 1) = {0.05f, -0.04f, 0.3f};  // the depth part is along the path
  a.k.models.sigma(2, 1) = 0.12f;
  a.finish();
  ASSERT_EQ(a.k.atom(1).change_class, 6);
  const std::vector<float> before = a.ion.weight;
  a.meet(0.02f, 0.01f, 0.03f, -0.06f, 0.8f);  // near, inside
  const double d2 = 0.03 * 0.03 + 0.06 * 0.06;
  const double moved2 = (0.03 - 0.05) * (0.03 - 0.05) + (-0.06 + 0.04) * (-0.06 + 0.04);
  const double hit_moved = (0.02 - 0.05) * (0.02 - 0.05) + (0.01 + 0.04) * (0.01 + 0.04);
  const double hit_site = 0.02 * 0.02 + 0.01 * 0.01;
  const struct {
    std::int32_t s, v;
    double sigma, shifted2, hit2;
  } pairs[] = {{1, 1, 0.1, d2, hit_site},
               {1, 2, 0.12, d2, hit_site},
               {2, 1, 0.1, moved2, hit_moved},
               {2, 2, 0.12, moved2, hit_moved}};
  for (const auto& p : pairs) {
    const auto k = static_cast<std::size_t>((p.s - 1) * 2 + p.v - 1);
    EXPECT_NEAR(a.ion.weight[k] / before[k], density_ratio(d2, p.shifted2, p.sigma, 0.1), 0.008)
        << p.s << p.v;
    EXPECT_NEAR(a.tally.hit(p.v, p.s, 1) / before[k], std::exp(-p.hit2 / (2 * p.sigma * p.sigma)),
                0.006)
        << p.s << p.v;
  }
}

TEST(HitAccounting, UndeflectedPassageWeighsByTheMissProbabilityRatio) {
  Accounting a(2, 2);
  a.k.models.shift(2, 1) = {0.0f, 0.2f, 0.0f};
  a.k.models.sigma(2, 1) = 0.14f;
  a.finish();
  ASSERT_EQ(a.k.atom(1).change_class, 6);
  const float reach = a.k.tables.interaction_reach;
  const std::vector<float> before = a.ion.weight;
  a.meet(0.6f, 0.0f, 0.0f, 0.0f, 1.5f);  // far (reach2 of the atom is (0.2 + 0.64)^2 > 0.36)
  const double ref = miss_probability(0.6, reach, 0.1);
  const double moved = std::hypot(0.6, 0.2);
  const struct {
    std::int32_t s, v;
    double expected;
  } pairs[] = {{1, 1, 1.0},
               {1, 2, miss_probability(0.6, reach, 0.14) / ref},
               {2, 1, miss_probability(moved, reach, 0.1) / ref},
               {2, 2, miss_probability(moved, reach, 0.14) / ref}};
  for (const auto& p : pairs) {
    const auto k = static_cast<std::size_t>((p.s - 1) * 2 + p.v - 1);
    EXPECT_NEAR(a.ion.weight[k] / before[k], p.expected, 0.02 * p.expected) << p.s << p.v;
  }
  // Far beyond the rings every factor is exactly 1.
  const std::vector<float> settled = a.ion.weight;
  a.meet(3.0f, 1.0f, 0.0f, 0.0f, 40.0f);
  a.meet(9.0f, 0.0f, 0.0f, 0.0f, 300.0f);  // past ring 650
  EXPECT_EQ(a.ion.weight, settled);
}

TEST(RingTables, MissProbabilitiesAgreeWithTheIntegralAndStayInRange) {
  Accounting a(1, 2);
  a.k.models.sigma(2, 1) = 0.03f;
  a.finish();
  const engine::RingTables& rings = a.k.tables.rings;
  const float reach = a.k.tables.interaction_reach;
  ASSERT_EQ(rings.atom_count, 1);
  const std::int32_t last = rings.last_ring[0];
  EXPECT_GT(last, 60);
  EXPECT_LT(last, 120);
  for (std::int32_t ring = 0; ring <= engine::RingTables::kRingCount + 1; ++ring) {
    const float inverse = rings.inverse_reference(1, ring);
    EXPECT_GE(inverse, 1.0f) << ring;
    EXPECT_LE(inverse, 1.0e34f) << ring;
    for (std::int32_t v = 1; v <= 2; ++v) {
      EXPECT_GE(rings.miss(1, ring, v), 1.0e-34f) << ring;
      EXPECT_LE(rings.miss(1, ring, v), 1.0f) << ring;
      if (ring > last) {
        EXPECT_EQ(rings.miss(1, ring, v), 1.0f) << ring;
      }
    }
    if (ring > last) {
      EXPECT_EQ(inverse, 1.0f) << ring;
    }
  }
  EXPECT_EQ(rings.inverse_reference(1, 5000), 1.0f);  // any ring past the table
  for (const std::int32_t ring : {20, 45, 54, 62, 75}) {
    const double r = 0.01 * ring;
    EXPECT_NEAR(1.0 / rings.inverse_reference(1, ring), miss_probability(r, reach, 0.1), 0.006)
        << ring;
    EXPECT_NEAR(rings.miss(1, ring, 2), miss_probability(r, reach, 0.03), 0.006) << ring;
  }
  // A site deep inside the circle of a sharply localised atom: the floor.
  EXPECT_EQ(rings.miss(1, 1, 2), 1.0e-34f);
}

TEST(RingTables, LeaveTheRadiusOfTheLastModelAtomsType) {
  TrackingCase k(4.0f, 4.0f, {0.0f, 2.0f}, {0.0f}, {-1.0f});
  k.crystal.types.push_back({8, 15.999f});
  k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, 0.1f).type = 2;
  k.add_atom(2.0f, 0.0f, 0.0f, 2, 1, 1, 0.1f);
  k.add_atom(2.0f, 1.0f, 0.0f, 2, 1, 1, 0.1f).type = 2;
  k.set_models(1, 0, 1, 2);
  k.derive();
  k.tables.type_reach_weight = {1.0f / (0.8f * 0.8f), 1.0f / (0.5f * 0.5f)};
  k.tables.interaction_reach = 3.0f;
  engine::build_ring_tables(k.crystal, k.models, fixed_tables(), k.tables);
  EXPECT_FLOAT_EQ(k.tables.interaction_reach, 0.8f);  // atom 2, the last with models, type 1
  k.set_models(1, 0, 1, 0);
  k.derive();
  k.tables.interaction_reach = 3.0f;
  engine::build_ring_tables(k.crystal, k.models, fixed_tables(), k.tables);
  EXPECT_EQ(k.tables.interaction_reach, 3.0f);
  EXPECT_EQ(k.tables.rings.atom_count, 0);
  k.tables.type_reach_weight.pop_back();
  k.set_models(1, 0, 1, 3);
  k.derive();
  EXPECT_THROW(engine::build_ring_tables(k.crystal, k.models, fixed_tables(), k.tables),
               engine::ModelDataError);
}

}  // namespace
