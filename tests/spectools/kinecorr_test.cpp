// kinecorr: the kinematic factor, the column rebinning, the energy axis, and the program run
// against a scratch experiment.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

#include "spectools/kinecorr/column_rebin.h"
#include "spectools/kinecorr/energy_axis.h"
#include "spectools/kinecorr/kinematics.h"
#include "tool_fixture.h"

namespace {

using namespace spectools::kinecorr;

TEST(Kinematics, FactorOfElasticScattering) {
  struct Case {
    double m1, m2, angle, k;
  };
  const Case cases[] = {
      {4.0, 28.0, 0.0, 1.0},         // no deflection, no loss
      {4.0, 28.0, 90.0, 0.75},       // (M2^2 - M1^2) / (M1 + M2)^2
      {1.0, 3.0, 180.0, 0.25},       // head-on: ((M2 - M1) / (M1 + M2))^2
      {4.0, 4.0, 90.0, 0.0},         // equal masses stop at a right angle
      {4.0, 196.97, 170.0, 0.9225},  // He backscattered from Au
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(kineCorr(c.m1, c.m2, c.angle), c.k, 1e-4) << c.m1 << " " << c.m2 << " " << c.angle;
  }
  EXPECT_LT(elastic_radicand(4.0, 1.0, 90.0), 0.0);
  EXPECT_GE(elastic_radicand(4.0, 1.0, 14.0), 0.0);  // below arcsin(1/4)
}

TEST(ColumnRebin, ProportionRoundsEachShare) {
  EXPECT_EQ(proportion(10, 0.25), 3);  // 2.5 + 0.5
  EXPECT_EQ(proportion(10, 0.24), 2);
  EXPECT_EQ(proportion(0, 0.7), 0);
  EXPECT_EQ(proportion(-5, 1.0), -4);  // -4.5 truncated toward zero
  EXPECT_EQ(proportion(std::numeric_limits<std::int32_t>::max(), 1.0),
            std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(proportion(10, std::nan("")), 0);
  EXPECT_EQ(proportion(10, 2.0), 10);
}

std::vector<std::int32_t> rebin(double k, const std::vector<std::int32_t>& counts, int channels,
                                AxisScale scale) {
  std::vector<std::int32_t> correct(static_cast<std::size_t>(channels), -99);
  colCorrect(k, counts, correct, scale);
  return correct;
}

TEST(ColumnRebin, SharesFollowTheEnergyOverlap) {
  struct Case {
    double k;
    std::vector<std::int32_t> counts;
    int channels;
    AxisScale scale;
    std::vector<std::int32_t> expected;
  };
  const Case cases[] = {
      // K = 1: the column as it is; added channels stay 0.
      {1.0, {3, 1, 4, 1, 5}, 7, {100.0, 2.0}, {3, 1, 4, 1, 5, 0, 0}},
      {1.0, {3, 1, 4}, 3, {0.3, 0.1}, {3, 1, 4}},
      // K = 1/2: every source channel spreads over two output channels.
      {0.5, {10, 20}, 4, {0.0, 1.0}, {5, 5, 10, 10}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rebin(c.k, c.counts, c.channels, c.scale), c.expected) << c.k;
  }
  // K = 3/4: 1000 counts at energy [30, 31) land at [40, 41.33): 750 in 40, 250 in 41.
  std::vector<std::int32_t> line(40, 0);
  line[30] = 1000;
  const std::vector<std::int32_t> moved = rebin(0.75, line, 45, {0.0, 1.0});
  for (int i = 0; i < 45; ++i) {
    EXPECT_EQ(moved[i], i == 40 ? 750 : i == 41 ? 250 : 0) << i;
  }
}

TEST(ColumnRebin, CountBeyondThirtyTwoBitsIsRefused) {
  const std::vector<std::int32_t> counts = {2000000000, 2000000000};
  EXPECT_THROW(rebin(2.0, counts, 1, {0.0, 1.0}), std::range_error);
}

TEST(EnergyAxis, GrowsToReachTheBeamEnergy) {
  struct Case {
    EnergyAxis source;
    AxisScale scale;
    double beam_energy;
    int range;
  };
  const Case cases[] = {
      {{0, 490}, {0.0, 2.0}, 1000.0, 520},  // top 980: (1000 - 980) / 2 + 20 more
      {{0, 490}, {0.0, 2.0}, 980.0, 490},   // at the top: unchanged
      {{0, 490}, {0.0, 2.0}, 500.0, 490},
      {{10, 480}, {0.0, 2.0}, 1001.0, 510},  // top from the absolute channel: 30.5 more
      {{0, 100}, {50.0, 0.3}, 81.0, 123},    // (81 - 80) / 0.3 + 20 = 23.3
  };
  for (const Case& c : cases) {
    const EnergyAxis axis = output_energy_axis(c.source, c.scale, c.beam_energy, "s");
    EXPECT_EQ(axis.base, c.source.base);
    EXPECT_EQ(axis.range, c.range) << c.beam_energy;
  }
}

TEST(EnergyAxis, ZeroSlopeAndImpossibleAxesAreRefused) {
  try {
    output_energy_axis({0, 10}, {5.0, 0.0}, 100.0, "scan");
    FAIL();
  } catch (const std::domain_error& error) {
    EXPECT_STREQ(error.what(),
                 "energy slope 0 of spectrum scan: calibration record 2 gives no energy scale");
  }
  EXPECT_THROW(output_energy_axis({0, 10}, {0.0, 1e-3}, 1e30, "s"), std::range_error);
  EXPECT_THROW(output_energy_axis({0, 10}, {0.0, -1.0}, 100.0, "s"), std::range_error);
}

class KinecorrRun : public tool_test::ToolProcessTest {
 protected:
  // 3 angle columns from channel 5 at `angle` degrees, 50 energy channels at 100 + 2 * index
  // keV; the count names its channel.
  void make_scan(const std::string& angle_record) {
    make("scan", {5, 0}, {3, 50}, [](int i1, int i2) { return 100 * i1 + i2; });
    ASSERT_EQ(ZQwriteCalibration("scan", 1, angle_record.c_str()), 0);
    ASSERT_EQ(ZQwriteCalibration("scan", 2, "Energy keV 2 100 2"), 0);
    ASSERT_EQ(ZQwriteInformation("scan", 3, "Ni(110) [001]"), 0);
  }
};

TEST_F(KinecorrRun, FactorOneKeepsTheColumnsAndLengthensTheAxis) {
  make_scan("Angle deg 2 0 0");
  const tool_test::Outcome outcome = run("kinecorr", {"scan", "k", "210", "4", "58.7"});
  EXPECT_EQ(outcome.status, 0) << outcome.out;
  EXPECT_EQ(outcome.out, "spectrum scan corrected for k squared to k\n");
  const tool_test::Spectrum k = read("k");
  EXPECT_EQ(k.bases, (std::array<int, 2>{5, 0}));
  EXPECT_EQ(k.ranges, (std::array<int, 2>{3, 75}));  // top 200: (210 - 200) / 2 + 20 more
  for (int i1 = 5; i1 < 8; ++i1) {
    for (int i2 = 0; i2 < 75; ++i2) {
      ASSERT_EQ(k.at(i1, i2), i2 < 50 ? 100 * i1 + i2 : 0) << i1 << " " << i2;
    }
  }
  // No offset: information record 3 unchanged, the angle record rewritten with six decimals.
  EXPECT_EQ(information("k", 3), "Ni(110) [001]");
  EXPECT_EQ(calibration("k", 1), "Angle deg 2 0.000000 0.000000");
  EXPECT_EQ(calibration("k", 2), "Energy keV 2 100 2");
}

TEST_F(KinecorrRun, EnergiesAreDividedByTheFactor) {
  make("line", {0, 0}, {2, 40}, [](int, int i2) { return i2 == 30 ? 1000 : 0; });
  ASSERT_EQ(ZQwriteCalibration("line", 1, "Angle deg 2 90 0"), 0);
  ASSERT_EQ(ZQwriteCalibration("line", 2, "Energy keV 2 0 1"), 0);
  ASSERT_EQ(run("kinecorr", {"line", "k", "35", "4", "28"}).status, 0);
  const tool_test::Spectrum k = read("k");
  // 35 keV lies below the top (40): no growth, and the line moves out of the axis.
  ASSERT_EQ(k.ranges[1], 40);
  for (int i2 = 0; i2 < 40; ++i2) EXPECT_EQ(k.at(1, i2), 0) << i2;
  // With room for it, the line at 30 keV / K(90 deg) = 40 keV.
  ASSERT_EQ(run("kinecorr", {"line", "k", "41", "4", "28"}).status, 0);
  const tool_test::Spectrum grown = read("k");
  ASSERT_EQ(grown.ranges[1], 61);
  EXPECT_EQ(grown.at(0, 30), 0);
  EXPECT_EQ(grown.at(0, 40), 750);
  EXPECT_EQ(grown.at(1, 41), 250);
}

TEST_F(KinecorrRun, SeveralBlocksMatchColumnByColumn) {
  // 500 columns from 120.5 to 170.4 degrees, 150 energy channels growing to 180: blocks of
  // 364 columns, the last one short.
  const auto count = [](int i1, int i2) { return (i1 * 13 + i2 * 7) % 500; };
  make("wide", {0, 0}, {500, 150}, count);
  ASSERT_EQ(ZQwriteCalibration("wide", 1, "Angle deg 2 120 0.1"), 0);
  ASSERT_EQ(ZQwriteCalibration("wide", 2, "Energy keV 2 0 1"), 0);
  ASSERT_EQ(run("kinecorr", {"wide", "k", "160", "4", "28", "0.5"}).status, 0);
  const tool_test::Spectrum k = read("k");
  ASSERT_EQ(k.ranges, (std::array<int, 2>{500, 180}));
  std::vector<std::int32_t> column(150);
  std::vector<std::int32_t> correct(180);
  for (int i1 = 0; i1 < 500; ++i1) {
    for (int i2 = 0; i2 < 150; ++i2) column[static_cast<std::size_t>(i2)] = count(i1, i2);
    colCorrect(kineCorr(4, 28, 120.5 + 0.1 * i1), column, correct, {0.0, 1.0});
    for (int i2 = 0; i2 < 180; ++i2) {
      ASSERT_EQ(k.at(i1, i2), correct[static_cast<std::size_t>(i2)]) << i1 << " " << i2;
    }
  }
}

TEST_F(KinecorrRun, AngleOffsetShiftsTheAxisAndIsNoted) {
  make_scan("Angle deg 2 10 0.5");
  const tool_test::Outcome outcome = run("kinecorr", {"scan", "k", "150", "4", "58.7", "-1.25"});
  ASSERT_EQ(outcome.status, 0) << outcome.out;
  EXPECT_EQ(information("k", 3), "Ni(110) [001] {Offset: \"-1.250000 deg\"}");
  EXPECT_EQ(calibration("k", 1), "Angle deg 2 8.750000 0.500000");
  EXPECT_EQ(calibration("k", 2), "Energy keV 2 100 2");
  // An empty information record 3 stays unwritten.
  ASSERT_EQ(ZQwriteInformation("scan", 3, ""), 0);
  ASSERT_EQ(run("kinecorr", {"scan", "k", "150", "4", "58.7", "3"}).status, 0);
  EXPECT_EQ(information("k", 3), "");
}

TEST_F(KinecorrRun, FaultsAreNamedBeforeTheTargetIsMade) {
  struct Case {
    std::string angle_record;
    std::string energy_record;
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {"Angle deg 2 60 5",
       "Energy keV 2 100 2",
       {"scan", "k", "210", "4", "1"},
       "no elastic scattering at angle 85 deg: beam mass 4 times sin(angle) exceeds target "
       "mass 1\n"},
      {"Angle deg 2 10 1",
       "Energy keV 2 100 0",
       {"scan", "k", "210", "4", "28"},
       "energy slope 0 of spectrum scan: calibration record 2 gives no energy scale\n"},
      {"Angle deg 2 10 1",
       "",
       {"scan", "k", "210", "4", "28"},
       "energy slope 0 of spectrum scan: calibration record 2 gives no energy scale\n"},
      {"Angle deg 2 10 1",
       "Energy keV 2 100 2",
       {"scan", "k", "210", "0", "28"},
       "beam mass 0 is not positive\n"},
      {"Angle deg 2 10 1",
       "Energy keV 2 100 2",
       {"scan", "k", "210", "4", "-28"},
       "target mass -28 is not positive\n"},
      {"Angle deg 2 10 1",
       "Energy keV 2 100 2",
       {"scan", "k", "210", "four", "28"},
       "Usage: kinecorr from_spec to_spec beam_energy beam_mass target_mass <angle offset>\n"},
  };
  for (const Case& c : cases) {
    make_scan(c.angle_record);
    ASSERT_EQ(ZQwriteCalibration("scan", 2, c.energy_record.c_str()), 0);
    const tool_test::Outcome outcome = run("kinecorr", c.args);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, c.message);
    EXPECT_FALSE(exists("k")) << c.message;
  }
}

}  // namespace
