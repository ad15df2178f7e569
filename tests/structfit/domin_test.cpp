// The minimizer on analytic functions: minima reached, counters and termination reasons,
// the step bound, the tolerance rules, and the constants of 32-bit arithmetic.
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>

#include "domin_case.h"
#include "structfit/domin.h"

namespace {

using domin_case::bowl;
using domin_case::rosenbrock;
using domin_case::temp_path;
using structfit::DominCallbacks;
using structfit::DominOptions;
using structfit::MinimizerState;

MinimizerState run(std::vector<float>& x, const DominCallbacks& cb, float tol,
                   std::string* console_text = nullptr) {
  std::ostringstream console;
  DominOptions options;
  options.tolerance = tol;
  options.step_log = temp_path(".res");
  options.restart_file = temp_path(".69");
  MinimizerState st = structfit::domin(x, cb, options, console);
  std::filesystem::remove(options.step_log);
  std::filesystem::remove(options.restart_file);
  if (console_text) *console_text = console.str();
  return st;
}

TEST(DominConstants, EpsilonOfSinglePrecisionAndTheThresholdsFromIt) {
  const float eps = std::ldexp(1.0F, -23);
  EXPECT_EQ(structfit::machine_epsilon(), eps);
  const MinimizerState st = structfit::make_minimizer_state(2, {0.0F, 0.0F});
  EXPECT_EQ(st.eps, eps);
  EXPECT_EQ(st.eps1000, 1000.0F * eps);
  // ε^(2/3) = 2^(-46/3), √ε = 2^-11.5, 0.25·ε^(1/7) = 2^(-2-23/7).
  EXPECT_NEAR(st.eps23_step / std::exp2(-46.0F / 3.0F), 1.0F, 1e-6F);
  EXPECT_EQ(st.eps23_gradient, st.eps23_step);
  EXPECT_EQ(st.sigma_min, st.eps23_step);
  EXPECT_NEAR(st.sqrt_eps / std::exp2(-11.5F), 1.0F, 1e-6F);
  EXPECT_NEAR(st.eps17 / std::exp2(-2.0F - 23.0F / 7.0F), 1.0F, 1e-6F);
  EXPECT_EQ(st.tiny, std::ldexp(1.0F, -147));  // 2^-23 · 16^-31, the last non-zero product
  EXPECT_EQ(st.step_limit, 3000);
  EXPECT_EQ(st.norm_d_prev, 1.0F);
}

TEST(Domin, SeparableBowlIsSolvedByTheFirstScaledNewtonStep) {
  // Scaled by 1/√h the bowl is the unit sphere: one full step lands on the minimum, the next
  // direction is zero.
  std::vector<float> x{0.0F, 0.0F};
  std::string console;
  const MinimizerState st = run(x, bowl({2.0F, 8.0F}, {0.5F, 0.25F}), 1e-6F, &console);
  EXPECT_EQ(x, (std::vector<float>{0.5F, 0.25F}));
  EXPECT_EQ(st.termination, structfit::reason::zero_direction);
  EXPECT_EQ(st.function_calls, 2);
  EXPECT_EQ(st.gradient_calls, 2);
  EXPECT_EQ(st.step, 2);
  EXPECT_EQ(st.updates, 1);
  EXPECT_EQ(st.noupdates + st.restarts + st.modsteps, 0);
  EXPECT_EQ(st.f, 0.0F);
  EXPECT_NE(console.find(" BEST FIT =      0.0000000000\n"), std::string::npos);
  EXPECT_EQ(console.find("bfgs short protocol"), std::string::npos);
}

TEST(Domin, CoupledBowlReachesTheMinimum) {
  // f = (x0 + x1 − 3)² + 10 (x0 − x1 + 1)²: minimum at (1, 2), off-diagonal curvature.
  DominCallbacks cb;
  cb.objective = [](const std::vector<float>& x, float& f) {
    const float u = x[0] + x[1] - 3.0F, v = x[0] - x[1] + 1.0F;
    f = u * u + 10.0F * v * v;
    return 0;
  };
  cb.gradient = [](const std::vector<float>& x, std::vector<float>& g, std::vector<float>& h) {
    const float u = x[0] + x[1] - 3.0F, v = x[0] - x[1] + 1.0F;
    g = {2.0F * u + 20.0F * v, 2.0F * u - 20.0F * v};
    h = {22.0F, 22.0F};
    return 0;
  };
  std::vector<float> x{5.0F, -4.0F};
  const MinimizerState st = run(x, cb, 1e-7F);
  EXPECT_NEAR(x[0], 1.0F, 1e-3F);
  EXPECT_NEAR(x[1], 2.0F, 1e-3F);
  EXPECT_GT(st.termination, 0.0F);
  EXPECT_GE(st.updates, 1);
  // Every step evaluates at least one trial point; each start and accepted step a gradient.
  EXPECT_GE(st.function_calls, st.step);
  EXPECT_LE(st.gradient_calls, st.step + 1 + st.restarts);
}

TEST(Domin, RosenbrockInTwoAndFiveVariables) {
  for (std::size_t n : {2u, 5u}) {
    std::vector<float> x(n, -1.2F);
    for (std::size_t i = 1; i < n; i += 2) x[i] = 1.0F;
    const MinimizerState st = run(x, rosenbrock(), 1e-8F);
    for (float v : x) EXPECT_NEAR(v, 1.0F, 2e-2F) << "n = " << n;
    EXPECT_LT(st.f, 1e-3F) << "n = " << n;
    EXPECT_GT(st.termination, -1.0F) << "n = " << n;
    EXPECT_GT(st.updates, 5) << "n = " << n;
    EXPECT_LT(st.step, 3000) << "n = " << n;
    // The protocol rows number the steps and carry f as the step began.
    EXPECT_EQ(st.protocol[0], 1.0F);
    EXPECT_EQ(st.protocol[static_cast<std::size_t>(st.step - 1)], static_cast<float>(st.step));
  }
}

TEST(Domin, StepLongerThanTheVariablePlusOneIsShortened) {
  // f = (x − 1000)²: the scaled full step from 0 would be 1000/√2 in scaled units, against a
  // bound of |u| + 1 = 1; the first trial point moves exactly one scaled unit, 1/√2.
  std::vector<float> trials;
  DominCallbacks cb = bowl({1.0F}, {1000.0F});
  DominCallbacks recording = cb;
  recording.objective = [&](const std::vector<float>& x, float& f) {
    trials.push_back(x[0]);
    return cb.objective(x, f);
  };
  std::vector<float> x{0.0F};
  const MinimizerState st = run(x, recording, 1e-6F);
  ASSERT_GE(trials.size(), 2u);
  EXPECT_EQ(trials[0], 0.0F);
  EXPECT_FLOAT_EQ(trials[1], 1.0F / std::sqrt(2.0F));
  const float t = st.protocol[9 * structfit::protocol_rows];  // step scaling factor, step 1
  EXPECT_FLOAT_EQ(t, 1.0F / (1000.0F * std::sqrt(2.0F)));
  // Successive full steps along the same line extrapolate, so the minimum is still reached.
  EXPECT_NEAR(x[0], 1000.0F, 1e-1F);
}

TEST(Domin, ToleranceZeroEndsByAnotherRuleOrTheExtraTest) {
  std::vector<float> x{-1.2F, 1.0F};
  const MinimizerState st = run(x, rosenbrock(), 0.0F);
  EXPECT_NE(st.termination, structfit::reason::converged);
  EXPECT_GE(st.termination, 0.0F);
  EXPECT_NEAR(x[0], 1.0F, 2e-2F);

  int tests = 0;
  DominCallbacks cb = rosenbrock();
  cb.converged = [&] { return ++tests == 3; };
  std::vector<float> y{-1.2F, 1.0F};
  const MinimizerState by_test = run(y, cb, 0.0F);
  EXPECT_EQ(by_test.termination, structfit::reason::converged);
  EXPECT_EQ(by_test.step, 3);
}

TEST(Domin, GradientErrorAtStartEndsWithTheShortProtocol) {
  DominCallbacks cb = bowl({1.0F}, {1.0F});
  cb.gradient = [](const std::vector<float>&, std::vector<float>&, std::vector<float>&) {
    return 1;
  };
  std::vector<float> x{0.0F};
  std::string console;
  const MinimizerState st = run(x, cb, 1e-6F, &console);
  EXPECT_EQ(st.termination, structfit::reason::gradient_error);
  EXPECT_EQ(st.step, 0);
  EXPECT_NE(console.find(" bfgs short protocol \n"), std::string::npos);
  EXPECT_NE(console.find(" termination reason  -3.00000000    \n"), std::string::npos);
}

TEST(Domin, ObjectiveErrorsShortenTheStep) {
  // The objective refuses every point beyond x = 0.3; the search halves σ until it is inside.
  DominCallbacks cb = bowl({1.0F}, {1.0F});
  DominCallbacks fenced = cb;
  fenced.objective = [&](const std::vector<float>& x, float& f) {
    return x[0] > 0.3F ? 1 : cb.objective(x, f);
  };
  std::vector<float> x{0.0F};
  const MinimizerState st = run(x, fenced, 1e-6F);
  EXPECT_LE(x[0], 0.3F);
  EXPECT_GT(x[0], 0.2F);
  EXPECT_GT(st.function_calls, st.step);
}

TEST(Domin, UnboundedDescentWithoutCurvatureStaysFinite) {
  // f = −x has no minimum and no curvature: the variable keeps scale 1 (said on the
  // console), the damped updates keep the matrix finite (y = 0 would divide by s·y = 0), and
  // the run ends by the conditioning rule once the gradient is small against it.
  DominCallbacks cb;
  cb.objective = [](const std::vector<float>& x, float& f) {
    f = -x[0];
    return 0;
  };
  cb.gradient = [](const std::vector<float>&, std::vector<float>& g, std::vector<float>& h) {
    g = {-1.0F};
    h = {0.0F};
    return 0;
  };
  std::vector<float> x{0.0F};
  std::string console;
  const MinimizerState st = run(x, cb, 1e-6F, &console);
  EXPECT_EQ(st.termination, structfit::reason::small_step);
  EXPECT_TRUE(std::isfinite(x[0]));
  EXPECT_GT(x[0], 1e6F);
  EXPECT_EQ(st.noupdates, 0);
  EXPECT_EQ(st.modsteps, st.updates);
  EXPECT_EQ(
      console.find(" no scaling of variable           1 (second derivative   0.00000000     )\n"),
      0u);
}

TEST(Domin, SearchFailingAgainAfterARestartEndsInsteadOfLooping) {
  // A gradient that promises descent on a flat objective: every step search fails; the
  // restart with a fresh matrix fails too, and the run ends as a zero step.
  DominCallbacks cb;
  cb.objective = [](const std::vector<float>&, float& f) {
    f = 1.0F;
    return 0;
  };
  cb.gradient = [](const std::vector<float>&, std::vector<float>& g, std::vector<float>& h) {
    g = {1.0F};
    h = {1.0F};
    return 0;
  };
  std::vector<float> x{0.0F};
  const MinimizerState st = run(x, cb, 1e-6F);
  EXPECT_EQ(st.termination, structfit::reason::zero_step);
  EXPECT_EQ(st.step, 1);
  EXPECT_EQ(st.restarts, 1);
  EXPECT_EQ(st.gradient_calls, 2);  // the start and the restart
  EXPECT_EQ(x, std::vector<float>{0.0F});
  EXPECT_EQ(st.protocol[12 * structfit::protocol_rows], 1.0F);  // restart mark of step 1
}

}  // namespace
