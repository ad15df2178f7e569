// The evaluation drivers on a stub simulation whose R-factor curves are known cubics: the
// objective, G, D2, DX, ERR, the combination of data sets, the bracket test and the logs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../polysim/scratch_dir.h"
#include "fit_case.h"
#include "structfit/cubic_minimum.h"
#include "structfit/fit_drivers.h"
#include "structfit/fit_errors.h"
#include "structfit/fit_logs.h"
#include "structfit/fit_run.h"
#include "stub_fit.h"
#include "textio/fixed_text.h"
#include "textio/free_writer.h"

namespace {

using structfit::FitDrivers;
using structfit::ParameterSlope;
using stub_fit::Cubic;

TEST(FitLogs, MatchTheFortranRuntimeByteForByte) {
  structfit::FitSetup setup = stub_fit::setup({{0.0f, 0.1f}, {0.0f, 0.1f}}, 5);
  setup.parameters[0].name = textio::fixed_width("top_layer_depth", 20);
  setup.parameters[1].name = textio::fixed_width("sigma_top", 20);
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<ParameterSlope> slopes{{0.0625f, -51.5742f, 1163.1786f, 0.0435f, 0.0391f},
                                           {-1.2345678f, 123456789.0f, -0.0005f, -0.15f, inf}};
  std::vector<std::vector<float>> table(32, std::vector<float>(2));
  for (int i = 0; i < 32; ++i)
    for (int l = 0; l < 2; ++l)
      table[i][l] = static_cast<float>(i + 1) * 1.5f - static_cast<float>(l + 1) * 0.001f;
  std::string text = structfit::function_evaluation_lines(7, 4.24169588f) +
                     structfit::function_evaluation_lines(12345, 12345.6789f) +
                     structfit::parameter_lines(setup, {0.0625f, -1.2345678f}) +
                     structfit::gradient_evaluation_lines(setup, 123, slopes, false) +
                     structfit::gradient_evaluation_lines(setup, 123, slopes, true) +
                     structfit::rfactor_curve_text({4.2417f, 3.9f, 10000.0f, -0.0004f, 0.0005f}) +
                     structfit::rfactor_table_text(table);
  text += (textio::FreeLine{} << "der 2der " << -51.5742f << 1163.1786f).str();
  EXPECT_EQ(text + " Starting Search\n Random seed: -1765135397123456789\n",
            structfit_test::data_text("fit_logs_expected.txt"));
}

TEST(CubicMinimum, GridRulesAtTheEdges) {
  // A rising line: the lowest grid value is the first; its curvature 0 gives an infinite error.
  EXPECT_EQ(structfit::cubic_minimum({1.0f, 1.0f, 0.0f, 0.0f}, 5).x, 1.0f);
  EXPECT_TRUE(std::isinf(structfit::cubic_minimum({1.0f, 1.0f, 0.0f, 0.0f}, 5).error));
  // A constant: ties keep the first x.
  EXPECT_EQ(structfit::cubic_minimum({3.0f, 0.0f, 0.0f, 0.0f}, 5).x, 1.0f);
  // Nothing below 20000 leaves x at 0.
  EXPECT_EQ(structfit::cubic_minimum({30000.0f, 0.0f, 0.0f, 0.0f}, 5).x, 0.0f);
  // A parabola (x - 2.5)^2 / 2: minimum 2.5, k = 1, error sqrt 2.
  const structfit::CurveMinimum m = structfit::cubic_minimum({3.125f, -2.5f, 0.5f, 0.0f}, 5);
  EXPECT_NEAR(m.x, 2.5f, 0.001f);
  EXPECT_NEAR(m.error, std::sqrt(2.0f), 1e-3f);
}

// Two data sets of weights 2 and 3; each R-factor is a separable cubic in the parameters.
struct TwoSets {
  std::vector<Cubic> first{{1.0f, 0.10f, 40.0f, 30.0f}, {0.5f, -0.20f, 25.0f, 0.0f}};
  std::vector<Cubic> second{{2.0f, 0.05f, 60.0f, -20.0f}, {1.0f, -0.30f, 10.0f, 5.0f}};
  // The weighted mean of the two sets, in double.
  double combined(const std::vector<double>& p) const {
    return (2.0 * stub_fit::value(first, p) + 3.0 * stub_fit::value(second, p)) / 5.0;
  }
  structfit::CurveSource source(const structfit::FitSetup& setup) const {
    return stub_fit::source(setup, {{2, first}, {3, second}});
  }
};

TEST(FitDrivers, ObjectiveGradientSecondDifferenceAndMinimumOfKnownCubics) {
  structfit_test::FitCaseDir dir;
  const structfit::FitSetup setup = stub_fit::setup({{0.0f, 0.04f}, {0.0f, 0.05f}}, 5, 2);
  const TwoSets sets;
  std::ostringstream console;
  FitDrivers drivers(setup, sets.source(setup), console);
  const std::vector<float> x{0.02f, -0.15f};
  const std::vector<double> p{0.02, -0.15};
  float f = 0.0f;
  EXPECT_EQ(drivers.function_evaluation(x, f), 0);
  EXPECT_NEAR(f, sets.combined(p), 1e-5);
  std::vector<float> g(2), h(2);
  EXPECT_EQ(drivers.gradient_evaluation(x, g, h), 0);
  for (std::size_t i = 0; i < 2; ++i) {
    // The combined curve along parameter i is a cubic a + b u + c u^2 + d u^3, u = p_i − x_i.
    const double delta = 1e-4;
    auto along = [&](double u) {
      std::vector<double> q = p;
      q[i] += u;
      return sets.combined(q);
    };
    const double slope = (along(delta) - along(-delta)) / (2 * delta);
    const double second = (along(delta) - 2 * along(0) + along(-delta)) / (delta * delta);
    EXPECT_NEAR(g[i], slope, 2e-3 * std::fabs(slope) + 1e-3) << i;
    EXPECT_NEAR(h[i], second, 2e-3 * std::fabs(second)) << i;
    // The minimum of the cubic: the root of b + 2c u + 3d u^2 with positive curvature.
    const double third = (along(2 * delta) - 3 * along(delta) + 3 * along(0) - along(-delta)) /
                         (delta * delta * delta);
    const double c = second / 2, d = third / 6, b = slope;
    const double u =
        d == 0.0 ? -b / (2 * c) : (-2 * c + std::sqrt(4 * c * c - 12 * d * b)) / (6 * d);
    const ParameterSlope& s = drivers.slopes()[i];
    // The grid, its drift and the 32-bit fit leave a few thousandths of a step.
    EXPECT_NEAR(s.offset, u, 0.003 * setup.parameters[i].step) << i;
    EXPECT_NEAR(s.error, std::sqrt(2.0 / (2 * c + 6 * d * u)), 1e-3) << i;
  }
  // rfactor.dat holds the curve of each parameter; rfactor2.dat the last one.
  const std::vector<std::string> table = structfit_test::lines_of(dir.dir.read("rfactor.dat"));
  EXPECT_EQ(table.size(), 5u);
  EXPECT_EQ(structfit_test::lines_of(dir.dir.read("rfactor2.dat")).size(), 5u);
  const std::vector<std::string> status = structfit_test::lines_of(dir.dir.read("status.dat"));
  ASSERT_EQ(status.size(), 4u + 7u);
  EXPECT_EQ(status[0], "  FUNCTION EVALUATION NO:           1");
  EXPECT_EQ(status[4], " GRADIENT EVALUATION No.:  1");
}

TEST(FitDrivers, NinePointsTakeTheDifferencesFromTheMiddleAndTheMinimumFromAll) {
  structfit_test::FitCaseDir dir;
  const structfit::FitSetup setup = stub_fit::setup({{0.0f, 0.05f}}, 9);
  const std::vector<Cubic> bowl{{1.0f, 0.0f, 100.0f, 0.0f}};
  std::ostringstream console;
  FitDrivers plain(setup, stub_fit::source(setup, {{1, bowl}}), console);
  // The same curve with its two outer points on each side raised: G and D2 must not see them.
  FitDrivers raised(
      setup, stub_fit::source(setup, {{1, bowl}}, {5.0f, 5.0f, 0, 0, 0, 0, 0, 0, 5.0f}), console);
  std::vector<float> g1(1), h1(1), g2(1), h2(1);
  plain.gradient_evaluation({0.1f}, g1, h1);
  raised.gradient_evaluation({0.1f}, g2, h2);
  EXPECT_EQ(g1[0], g2[0]);
  EXPECT_EQ(h1[0], h2[0]);
  EXPECT_NEAR(g1[0], 20.0f, 1e-3f);
  EXPECT_NEAR(h1[0], 200.0f, 0.05f);
  EXPECT_NE(plain.slopes()[0].offset, raised.slopes()[0].offset);
}

TEST(FitDrivers, BracketTestNeedsEveryMinimumWithinOneStep) {
  structfit_test::FitCaseDir dir;
  const structfit::FitSetup setup = stub_fit::setup({{0.0f, 0.05f}, {0.0f, 0.05f}}, 5);
  // Minima at 0.03 and 0.10: less than one step from 0 and two steps.
  const std::vector<Cubic> curves{{1.0f, 0.03f, 100.0f, 0.0f}, {1.0f, 0.10f, 100.0f, 0.0f}};
  std::ostringstream console;
  FitDrivers drivers(setup, stub_fit::source(setup, {{1, curves}}), console);
  EXPECT_FALSE(drivers.bracket_test());  // no rfactor.dat yet
  EXPECT_NE(console.str().find("rfactor.dat: cannot open; bracket test not passed"),
            std::string::npos);
  std::vector<float> g(2), h(2);
  drivers.gradient_evaluation({0.0f, 0.0f}, g, h);
  EXPECT_FALSE(drivers.bracket_test());
  drivers.gradient_evaluation({0.0f, 0.06f}, g, h);
  EXPECT_TRUE(drivers.bracket_test());
  // An R-factor too large for its field leaves asterisks that do not read back.
  dir.dir.write("rfactor.dat", "    1.000    1.000\n ********    1.000\n");
  EXPECT_FALSE(drivers.bracket_test());
}

// IONBEAM_SEED for one test, unset afterwards.
struct SeedVariable {
  explicit SeedVariable(const char* value) { setenv("IONBEAM_SEED", value, 1); }
  ~SeedVariable() { unsetenv("IONBEAM_SEED"); }
};

struct Crash {};

// Curves whose minima move with the seed, so a resume under another seed would end elsewhere.
structfit::CurveSourceMaker seeded_curves(const structfit::FitSetup& setup) {
  return [&setup](std::int64_t seed) {
    const float shift = static_cast<float>(seed % 5) * 0.01f;
    const std::vector<Cubic> curves{{1.0f, 0.9f + shift, 40.0f, 20.0f},
                                    {0.5f, -0.7f, 25.0f, -10.0f}};
    return stub_fit::source(setup, {{1, curves}});
  };
}

// The same curves, ending the process's work by an exception after `calls` data-set curves.
structfit::CurveSourceMaker crashing(const structfit::CurveSourceMaker& make, int calls) {
  return [make, calls](std::int64_t seed) {
    auto left = std::make_shared<int>(calls);
    return [inner = make(seed), left](std::size_t set, const std::vector<float>& x,
                                      std::int32_t index) {
      if ((*left)-- == 0) throw Crash{};
      return inner(set, x, index);
    };
  };
}

bool same_bits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST(FitRun, ResumedAfterACrashEndsBitForBitAsAnUninterruptedFit) {
  const structfit::FitSetup setup = stub_fit::setup({{0.0f, 0.05f}, {0.0f, 0.05f}}, 5);
  std::ostringstream console;
  for (const int crash_after : {7, 12}) {
    structfit_test::FitCaseDir dir;
    structfit::MinimizerState whole;
    {
      const SeedVariable seed("1234");
      whole = structfit::run_fit(setup, false, seeded_curves(setup), console);
    }
    ASSERT_GE(whole.step, 3);
    const std::string whole_status = dir.dir.read("status.dat");
    const std::string whole_table = dir.dir.read("rfactor.dat");
    {
      const SeedVariable seed("1234");
      EXPECT_THROW(
          structfit::run_fit(setup, false, crashing(seeded_curves(setup), crash_after), console),
          Crash);
    }
    // The seed comes back from status.dat, not from the environment.
    const structfit::MinimizerState resumed =
        structfit::run_fit(setup, true, seeded_curves(setup), console);
    EXPECT_TRUE(same_bits(resumed.x, whole.x)) << crash_after;
    EXPECT_TRUE(same_bits(resumed.g, whole.g)) << crash_after;
    EXPECT_TRUE(same_bits(resumed.protocol, whole.protocol)) << crash_after;
    EXPECT_EQ(std::memcmp(&resumed.f, &whole.f, sizeof(float)), 0) << crash_after;
    EXPECT_EQ(resumed.termination, whole.termination);
    EXPECT_EQ(resumed.function_calls, whole.function_calls);
    EXPECT_EQ(resumed.gradient_calls, whole.gradient_calls);
    EXPECT_EQ(resumed.step, whole.step);
    EXPECT_EQ(dir.dir.read("rfactor.dat"), whole_table);
    // After the resume mark status.dat goes on as the uninterrupted one ends.
    const std::string status = dir.dir.read("status.dat");
    const std::string mark = " Resuming Search\n Random seed:                 1234\n";
    const std::size_t at = status.find(mark);
    ASSERT_NE(at, std::string::npos) << status;
    const std::string tail = status.substr(at + mark.size());
    ASSERT_GT(tail.size(), 0u);
    EXPECT_EQ(whole_status.substr(whole_status.size() - tail.size()), tail) << crash_after;
  }
}

TEST(FitRun, ResumeRefusesAnotherSeedAndAStatusFileWithoutOne) {
  const structfit::FitSetup setup = stub_fit::setup({{0.0f, 0.05f}, {0.0f, 0.05f}}, 5);
  structfit_test::FitCaseDir dir;
  std::ostringstream console;
  {
    const SeedVariable seed("1234");
    EXPECT_THROW(structfit::run_fit(setup, false, crashing(seeded_curves(setup), 5), console),
                 Crash);
  }
  EXPECT_EQ(structfit::recover_seed("status.dat"), 1234);
  {
    const SeedVariable seed("99");
    try {
      structfit::run_fit(setup, true, seeded_curves(setup), console);
      ADD_FAILURE() << "resumed under another seed";
    } catch (const structfit::SetupRefused& refusal) {
      EXPECT_STREQ(refusal.what(),
                   " IONBEAM_SEED=99 differs from the fit's seed 1234 in status.dat; unset it "
                   "to resume");
    }
  }
  dir.dir.write("status.dat", " Starting Search\n");
  EXPECT_THROW(structfit::run_fit(setup, true, seeded_curves(setup), console),
               structfit::SetupRefused);
}

}  // namespace
