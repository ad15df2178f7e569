// The warnings where the method leaves its range: their texts, and the cases that give none.
#include "polysim/method_warnings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prepared_sample.h"

namespace {

using polysim_test::prepared_sample;

// The sample slab has atom 1 with amplitudes 0.1, 0.15, 0.2 Å against its own 0.1 Å, and shifts
// 0.1 Å in depth in structure model 2 (beam at 35 degree polar).
const std::vector<float> kSmallRadii{0.3f, 0.3f};

TEST(MethodWarnings, WideVibrationModelAndShiftAlongTheBeam) {
  const std::vector<std::string> warnings =
      polysim::method_warnings(prepared_sample(), kSmallRadii);
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[0],
            "  Warning: atom 1, vibration model 3: amplitude 0.200 A exceeds sqrt(2) x reference "
            "0.100 A: infinite-variance weights, no convergence with flux; make the largest "
            "amplitude the reference");
  // 0.1 Å in depth with the beam 35 degree off the normal: 0.082 Å along it.
  EXPECT_EQ(warnings[1],
            "  Warning: atom 1, structure model 2: shift 0.082 A along the beam is re-weighted "
            "only across the beam; check with a direct run");
}

TEST(MethodWarnings, NoneWithinTheMethodsRange) {
  polysim::SimulationInput input = prepared_sample();
  input.models.sigma(2, 1) = 0.14f;  // up to sqrt(2) times 0.1 Å
  input.models.sigma(3, 1) = 0.14f;
  input.models.shift(2, 1) = {0.2f, 0.0f, -0.1f};  // mostly across the beam: 0.03 Å along it
  EXPECT_TRUE(polysim::method_warnings(input, kSmallRadii).empty());
}

TEST(MethodWarnings, AtomBesideAnEmptyCellWithinItsRadius) {
  polysim::SimulationInput input = prepared_sample();
  input.models.sigma(2, 1) = input.models.sigma(3, 1) = 0.1f;
  input.models.shift(2, 1) = {};
  // Atom 2 leaves cell (2, 1, 1): atom 1 at x = 0 lies 0.9 Å below that cell's start and, across
  // the periodic boundary, 2.7 Å above its end.
  input.crystal.cell(2, 1, 1) = 0;
  EXPECT_TRUE(polysim::method_warnings(input, {0.9f, 0.9f}).empty());
  const std::vector<std::string> warnings = polysim::method_warnings(input, {1.0f, 1.0f});
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0],
            "  Warning: atom 1 is 0.900 A from empty cell (2, 1, layer 1), within its "
            "interaction radius 1.000 A: ions beyond that x column miss it");
  EXPECT_EQ(polysim::method_warnings(input, {3.0f, 3.0f}).size(), 2u);
}

}  // namespace
