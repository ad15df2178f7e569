// Safeguarded step-size search along −d: sufficient decrease, interpolation on failure,
// extrapolation while successive full steps keep the same direction.
#include <algorithm>
#include <cmath>

#include "structfit/domin_run.h"
#include "textio/free_writer.h"

namespace structfit {
namespace {

constexpr int max_reductions = 10;
constexpr float shortest_sigma = 0.001F;

// Objective at x − σ·d in the caller's (unscaled) variables; false on an objective error.
bool try_sigma(DominRun& run, float sigma, float& value) {
  MinimizerState& st = run.st;
  std::vector<float> trial(st.x.size());
  for (std::size_t i = 0; i < trial.size(); ++i)
    trial[i] = (st.x[i] - sigma * st.d[i]) * run.scale[i];
  ++st.function_calls;
  ++run.evaluations_in_step;
  const bool ok = run.callbacks.objective(trial, value) == 0;
  if (ok) run.log.trial(sigma, value);
  return ok;
}

// Shortens d so that no variable moves by more than |x_i| + 1.
void bound_step(MinimizerState& st) {
  float t = 1.0F;
  for (std::size_t i = 0; i < st.x.size(); ++i) {
    const float room = (st.extrapolation_bound - 1.0F) * (std::fabs(st.x[i]) + 1.0F);
    if (std::fabs(st.d[i]) > room)
      t = std::min(t, (std::fabs(st.x[i]) + 1.0F) / std::fabs(st.d[i]));
  }
  st.step_scale = t;
  if (t >= 1.0F) return;
  for (float& v : st.d) v *= t;
  st.norm_d *= t;
  st.dskal *= t;
}

// Minimiser of the model matching f and slope −dskal at 0 and the trial value at σ.
float quadratic_minimum(const MinimizerState& st, float sigma, float f_sigma) {
  const float denominator = 2.0F * (st.dskal * sigma - st.f + f_sigma);
  return denominator > 0.0F ? st.dskal * sigma * sigma / denominator : 0.5F * sigma;
}

// Minimiser of the cubic through f, slope −dskal at 0 and the values at σ1 and σ0.
float cubic_minimum(const MinimizerState& st, float s1, float f1, float s0, float f0) {
  const float r1 = (f1 - st.f + st.dskal * s1) / (s1 * s1);
  const float r0 = (f0 - st.f + st.dskal * s0) / (s0 * s0);
  const float c3 = (r1 - r0) / (s1 - s0);
  const float c2 = (s1 * r0 - s0 * r1) / (s1 - s0);
  if (c3 == 0.0F) return c2 > 0.0F ? st.dskal / (2.0F * c2) : 0.5F * s1;
  const float disc = c2 * c2 + 3.0F * c3 * st.dskal;
  if (!(disc >= 0.0F)) return 0.5F * s1;
  return (-c2 + std::sqrt(disc)) / (3.0F * c3);
}

bool wants_extrapolation(const MinimizerState& st) {
  if (!(st.sigma_prev >= 1.0F) || st.norm_d_prev == 0.0F || st.norm_d == 0.0F) return false;
  const float cosine = std::fabs(dot(st.d_prev, st.d)) / (st.norm_d_prev * st.norm_d);
  return cosine >= st.angle;
}

// Doubles σ from a full step while the trial value does not increase; returns the best σ.
float extrapolate(DominRun& run, float first, float& best_f) {
  MinimizerState& st = run.st;
  float best = 1.0F;
  float sigma = std::min(std::max(first, 2.0F), st.sigma_max);
  for (;;) {
    float value = 0.0F;
    if (!try_sigma(run, sigma, value) || value > best_f) return best;
    best = sigma;
    best_f = value;
    if (sigma >= st.sigma_max) return best;
    sigma = std::min(2.0F * sigma, st.sigma_max);
  }
}

void accept(MinimizerState& st, float sigma, float f_new) {
  st.x_prev = st.x;
  for (std::size_t i = 0; i < st.x.size(); ++i) st.x[i] -= sigma * st.d[i];
  st.d_prev = st.d;
  st.f_prev = st.f;
  st.f = f_new;
  st.f_trial = f_new;
  st.norm_x_prev = st.norm_x;
  st.norm_x = norm(st.x);
  st.norm_d_prev = st.norm_d;
  st.sigma_prev = sigma;
  st.sigma = sigma;
  st.search_result = 1.0F;
  for (std::size_t i = 0; i < st.x.size(); ++i) st.s[i] = st.x[i] - st.x_prev[i];
}

}  // namespace

bool step_search(DominRun& run) {
  MinimizerState& st = run.st;
  if (!run.options.scale_variables) {
    while (st.norm_d >= 0.5F) {
      for (float& v : st.d) v *= 0.5F;
      st.norm_d *= 0.5F;
      st.dskal *= 0.5F;
    }
  }
  for (std::size_t i = 0; i < st.x.size(); ++i)
    run.console << (textio::FreeLine{} << st.x[i] << st.d[i]).str();
  bound_step(st);
  float sigma = 1.0F, last_sigma = 0.0F, last_f = 0.0F;
  int reductions = 0;
  for (;;) {
    st.sigma = sigma;
    float value = 0.0F;
    if (!try_sigma(run, sigma, value)) {
      sigma *= 0.5F;
      if (sigma < st.sigma_min) {
        st.search_result = -2.0F;
        return false;
      }
      continue;
    }
    st.f_trial = value;
    if (st.f - value >= st.delta * st.dskal * sigma) {
      if (sigma == 1.0F && wants_extrapolation(st)) {
        float best_f = value;
        const float best = extrapolate(run, quadratic_minimum(st, sigma, value), best_f);
        accept(st, best, best_f);
      } else {
        accept(st, sigma, value);
      }
      return true;
    }
    const float model = reductions == 0 ? quadratic_minimum(st, sigma, value)
                                        : cubic_minimum(st, sigma, value, last_sigma, last_f);
    last_sigma = sigma;
    last_f = value;
    sigma = std::max(std::min(model, 0.5F * sigma), st.interpolation_low * sigma);
    if (++reductions > max_reductions || sigma < shortest_sigma) {
      st.search_result = -1.0F;
      return false;
    }
  }
}

}  // namespace structfit
