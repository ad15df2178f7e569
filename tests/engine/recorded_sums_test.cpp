// The multi-model accounting gives exactly the sums it gave when they were recorded: a small
// slab with atoms of every change class, walked in Z, X and Y mode and in a blocking run with
// random starts and an overlayer, each from a fixed seed. Any change of the numbers (the order
// of the deviates, of the candidates, of the arithmetic) shows here bit for bit.
#include <gtest/gtest.h>

#include <cstdint>

#include "tracking_case.h"

namespace {

using engine_test::kDegree;
using engine_test::TrackingCase;

// 2 x 2 cells of 1.5 Å in three layers, eight atoms; atoms 1..5 carry models: class 3 (dz),
// 6 (dx and amplitude), 2 (amplitude), 4 (dz and amplitude), 5 (dx); atoms 6..8 class 1.
TrackingCase classes_slab() {
  TrackingCase k(3.0f, 3.0f, {0.0f, 1.5f}, {0.0f, 1.5f}, {-0.5f, 1.0f, 2.5f});
  k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, 0.09f);
  k.add_atom(1.5f, 1.5f, 0.0f, 2, 2, 1, 0.1f);
  k.add_atom(1.5f, 0.0f, 1.5f, 2, 1, 2, 0.08f);
  k.add_atom(0.0f, 1.5f, 1.5f, 1, 2, 2, 0.085f);
  k.add_atom(0.0f, 0.0f, 3.0f, 1, 1, 3, 0.07f);
  k.add_atom(1.5f, 1.5f, 3.0f, 2, 2, 3, 0.07f);
  k.add_atom(1.5f, 0.0f, 3.0f, 2, 1, 3, 0.07f);
  k.add_atom(1.5f, 0.0f, 0.2f, 2, 1, 1, 0.09f);
  k.set_models(2, 5, 2, 5);
  k.models.shift(2, 1) = {0.0f, 0.0f, 0.06f};
  k.models.shift(2, 2) = {0.05f, 0.0f, 0.0f};
  k.models.sigma(2, 2) = 0.13f;
  k.models.sigma(2, 3) = 0.11f;
  k.models.shift(1, 4) = {0.0f, 0.0f, -0.04f};
  k.models.sigma(2, 4) = 0.07f;
  k.models.shift(2, 5) = {0.0f, -0.03f, 0.02f};
  k.derive();
  k.set_tables(120.0f * kDegree, 0.1f * kDegree);
  return k;
}

struct Recorded {
  const char* what;
  float polar, azimuth;  // degrees
  std::int32_t ions;
  bool blocking_with_overlayer;
  double sum, moment;  // Σ HIT and Σ (i + 1) HIT[i] over the table
  std::int64_t searches;
  double overlayer;
};

TEST(RecordedSums, MultiModelAccountingGivesTheRecordedNumbers) {
  const Recorded cases[] = {
      {"Z mode", 5.0f, 10.0f, 300, false, 0x1.41a74f4648861p+4, 0x1.1d5b55f31c402p+8, 867, 0.0},
      {"X mode", 80.0f, 15.0f, 200, false, 0x1.5536576d89bfap+6, 0x1.3937f3955957p+10, 2882, 0.0},
      {"Y mode", 78.0f, 70.0f, 200, false, 0x1.1afc0391da389p+6, 0x1.0431cc84bb378p+10, 2493, 0.0},
      {"blocking", 30.0f, 200.0f, 300, true, 0x1.578d940d56569p+4, 0x1.4130ad20b6e3ap+8, 864,
       0x1.17b059578p-6},
  };
  for (const Recorded& c : cases) {
    TrackingCase k = classes_slab();
    k.aim(c.polar * kDegree, c.azimuth * kDegree, 120.0f * kDegree, c.ions);
    if (c.blocking_with_overlayer) {
      k.run.angle_index = 2;
      k.run.start_mode = 1;
      k.run.overlayer_flag = 1;
      k.run.overlayer_type = 1;
      k.run.overlayer_density = 1.0e15f;
    }
    const engine::HitTally tally = k.launch(4711);
    double sum = 0.0, moment = 0.0;
    for (std::size_t i = 0; i < tally.hit_sum.size(); ++i) {
      sum += tally.hit_sum[i];
      moment += static_cast<double>(i + 1) * tally.hit_sum[i];
    }
    EXPECT_EQ(sum, c.sum) << c.what;
    EXPECT_EQ(moment, c.moment) << c.what;
    EXPECT_EQ(tally.partner_searches, c.searches) << c.what;
    EXPECT_EQ(tally.overlayer_deflection_sum, c.overlayer) << c.what;
  }
}

}  // namespace
