// Inputs the R-factor refuses because they would divide by zero or leave nothing to compare:
// which input, which point (its line) and the message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "structfit/rfactor.h"
#include "structfit/rfactor_errors.h"

namespace {

using structfit::Curve;
using structfit::RFactorInput;
using structfit::RFactorRefused;
using structfit::ScaleConstraint;

Curve flat(float first_angle, float step, int count, float level = 1.0f) {
  Curve curve;
  for (int i = 0; i < count; ++i)
    curve.push_back({first_angle + static_cast<float>(i) * step, level});
  return curve;
}

Curve with_point(Curve curve, std::size_t index, float angle, float intensity) {
  curve[index] = {angle, intensity};
  return curve;
}

struct Case {
  const char* name;
  Curve measured;
  Curve simulated;
  ScaleConstraint constraint;
  RFactorInput input;
  int point;
  std::string message;
};

TEST(CurveRFactorRefusal, NamesTheInputThePointAndTheProblem) {
  const Curve good = flat(20.0f, 0.5f, 10);
  const std::vector<Case> cases{
      {"one measured point",
       flat(20.0f, 0.5f, 1),
       good,
       {},
       RFactorInput::experiment,
       0,
       "the measured curve has 1 point; its angular step needs 2"},
      {"measured step 0",
       with_point(good, 1, 20.0f, 1.0f),
       good,
       {},
       RFactorInput::experiment,
       2,
       "angle 20 equals the first angle: the angular step is 0"},
      {"empty simulation",
       good,
       {},
       {},
       RFactorInput::simulation,
       0,
       "the simulated curve has 0 points; its angular step needs 2"},
      {"negative simulated intensity",
       good,
       with_point(good, 4, 22.0f, -0.5f),
       {},
       RFactorInput::simulation,
       5,
       "combined intensity -0.5 is negative"},
      {"three points to resample",
       good,
       flat(20.0f, 1.0f, 3),
       {},
       RFactorInput::simulation,
       0,
       "the simulated curve has 3 points; resampling it to the measured angular step needs 4"},
      {"falling simulated angles to resample",
       good,
       with_point(flat(20.0f, 1.0f, 6), 2, 20.5f, 1.0f),
       {},
       RFactorInput::simulation,
       3,
       "angle 20.5 does not exceed the angle before it; resampling needs increasing angles"},
      {"falling measurement against a rising simulation",
       flat(30.0f, -0.5f, 10),
       flat(20.0f, 1.0f, 6),
       {},
       RFactorInput::experiment,
       2,
       "the measured angular step -0.5 is not positive while the simulated angles increase"},
      {"two measured points",
       flat(20.0f, 0.5f, 2),
       good,
       {},
       RFactorInput::experiment,
       0,
       "only 2 points can be compared; the quadratic trend needs 3"},
      {"two simulated points",
       good,
       flat(20.0f, 0.5f, 2),
       {},
       RFactorInput::simulation,
       0,
       "only 2 points can be compared; the quadratic trend needs 3"},
      {"measured angles turning back",
       with_point(good, 6, 22.0f, 1.0f),
       good,
       {},
       RFactorInput::experiment,
       7,
       "angle 22 does not exceed the angle before it; the angles must keep the direction of "
       "the first step"},
      {"zero measured intensity",
       with_point(good, 2, 21.0f, 0.0f),
       good,
       {},
       RFactorInput::experiment,
       3,
       "intensity 0 is not positive"},
      {"negative measured intensity",
       with_point(good, 9, 24.5f, -3.0f),
       good,
       {},
       RFactorInput::experiment,
       10,
       "intensity -3 is not positive"},
      {"angle 0",
       flat(0.0f, 0.5f, 10),
       flat(0.0f, 0.5f, 10),
       {},
       RFactorInput::experiment,
       1,
       "angle 0 gives sin^4(angle/2) = 0; the intensities are divided by it"},
      {"simulation all zero",
       good,
       flat(20.0f, 0.5f, 10, 0.0f),
       {},
       RFactorInput::simulation,
       0,
       "the compared simulated intensities sum to 0; the scale factor needs a positive sum"},
      {"constraint at zero",
       good,
       good,
       {true, 0.0f, 10.0f},
       RFactorInput::scale_constraint,
       0,
       "the scale constraint (nominal 0, tolerance 10 %) sets the scale factor to 0; it must "
       "stay positive"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      structfit::curve_r_factor(c.measured, c.simulated, c.constraint);
      ADD_FAILURE() << "accepted";
    } catch (const RFactorRefused& refused) {
      EXPECT_EQ(refused.input(), c.input);
      EXPECT_EQ(refused.point(), c.point);
      EXPECT_EQ(refused.what(), c.message);
    }
  }
}

TEST(CurveRFactorRefusal, AMeasuredTrendThatTurnsNegativeIsRefusedAtItsPoint) {
  // One high end point pulls the quadratic below zero inside the scan: least squares over
  // x = -3..3 gives 15.1 + 10.6 x + 5.9 (x^2 - 4), first negative at x = -2 (-6.1), which
  // is -0.40 after the division by the scale factor 106 / 7.
  Curve measured = flat(20.0f, 1.0f, 7);
  measured[6].intensity = 100.0f;
  try {
    structfit::curve_r_factor(measured, flat(20.0f, 1.0f, 7), {});
    FAIL() << "accepted";
  } catch (const RFactorRefused& refused) {
    EXPECT_EQ(refused.input(), RFactorInput::experiment);
    EXPECT_EQ(refused.point(), 2);
    const std::string message = refused.what();
    EXPECT_EQ(message.rfind("measured curve: its quadratic trend is -0.40", 0), 0u) << message;
    EXPECT_NE(message.find(" at angle 21; the trend must be positive to be transferred"),
              std::string::npos)
        << message;
  }
}

}  // namespace
