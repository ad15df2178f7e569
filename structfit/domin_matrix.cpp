// The quasi-Newton matrix: (re)initialisation from the second derivatives, the solve with its
// Cholesky factor and the damped BFGS update.
#include <algorithm>
#include <cmath>

#include "structfit/domin_run.h"
#include "textio/free_writer.h"

namespace structfit {

float dot(const std::vector<float>& u, const std::vector<float>& v) {
  float sum = 0.0F;
  for (std::size_t i = 0; i < u.size(); ++i) sum += u[i] * v[i];
  return sum;
}

float norm(const std::vector<float>& v) {
  return std::sqrt(dot(v, v));
}

std::vector<float> DominRun::unscaled(const std::vector<float>& v) const {
  std::vector<float> out(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) out[i] = v[i] * scale[i];
  return out;
}

std::vector<float> solve_factored(const MinimizerState& st, const std::vector<float>& rhs) {
  const int n = st.n;
  std::vector<float> u(rhs);
  for (int i = 0; i < n; ++i) {  // Rᵀ·u = rhs
    float sum = u[static_cast<std::size_t>(i)];
    for (int k = 0; k < i; ++k) sum -= st.a_at(k, i) * u[static_cast<std::size_t>(k)];
    u[static_cast<std::size_t>(i)] = sum / st.a_at(i, i);
  }
  for (int i = n - 1; i >= 0; --i) {  // R·out = u
    float sum = u[static_cast<std::size_t>(i)];
    for (int k = i + 1; k < n; ++k) sum -= st.a_at(i, k) * u[static_cast<std::size_t>(k)];
    u[static_cast<std::size_t>(i)] = sum / st.a_at(i, i);
  }
  return u;
}

namespace {

// Factors H (diagonal in st.diag, strict lower triangle of st.a) into R on and above the
// diagonal of st.a; false when a pivot is not positive.
bool factor(MinimizerState& st) {
  const int n = st.n;
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i <= j; ++i) {
      float sum = i == j ? st.diag[static_cast<std::size_t>(j)] : st.a_at(j, i);
      for (int k = 0; k < i; ++k) sum -= st.a_at(k, i) * st.a_at(k, j);
      if (i < j) {
        st.a_at(i, j) = sum / st.a_at(i, i);
      } else {
        if (!(sum > 0.0F)) return false;
        st.a_at(j, j) = std::sqrt(sum);
      }
    }
  }
  return true;
}

// 1/√|h| as the scale of one variable; a zero or non-finite second derivative keeps 1.
float scale_factor(DominRun& run, std::size_t i) {
  const float factor = 1.0F / std::sqrt(std::fabs(run.h[i]));
  if (std::isfinite(factor)) return factor;
  run.console << (textio::FreeLine{} << "no scaling of variable" << static_cast<int>(i + 1)
                                     << "(second derivative" << run.h[i] << ")")
                     .str();
  return 1.0F;
}

}  // namespace

bool initialise(DominRun& run) {
  MinimizerState& st = run.st;
  const auto n = static_cast<std::size_t>(st.n);
  run.scale.assign(n, 1.0F);
  run.h.assign(n, 0.0F);
  ++st.function_calls;
  run.callbacks.objective(st.x, st.f);
  ++st.gradient_calls;
  if (run.callbacks.gradient(st.x, st.g, run.h) != 0) {
    st.termination = reason::gradient_error;
    return false;
  }
  std::fill(st.a.begin(), st.a.end(), 0.0F);
  std::fill(st.b.begin(), st.b.end(), 0.0F);
  st.trace_a = 0.0F;
  st.trace_ainv = 0.0F;
  const float norm_h = norm(run.h);
  if (run.options.scale_variables) {
    for (std::size_t i = 0; i < n; ++i) run.scale[i] = scale_factor(run, i);
    run.log.hessian_diagonal(run.h, run.scale);
    const std::vector<float> x_unscaled = st.x, g_unscaled = st.g;
    for (std::size_t i = 0; i < n; ++i) {
      st.x[i] /= run.scale[i];
      st.g[i] *= run.scale[i];
    }
    run.log.scaled_point(st.x, st.g, x_unscaled, g_unscaled);
    for (int i = 0; i < st.n; ++i) st.a_at(i, i) = 1.0F;
    std::fill(st.diag.begin(), st.diag.end(), 1.0F);
    std::fill(st.diag_backup.begin(), st.diag_backup.end(), 1.0F);
    st.trace_a = static_cast<float>(st.n);
    st.trace_ainv = static_cast<float>(st.n);
  } else {
    for (int i = 0; i < st.n; ++i) st.a_at(i, i) = std::sqrt(norm_h);
    std::fill(st.diag.begin(), st.diag.end(), norm_h);
    std::fill(st.diag_backup.begin(), st.diag_backup.end(), norm_h);
  }
  return true;
}

bool restart(DominRun& run) {
  MinimizerState& st = run.st;
  ++st.restarts;
  st.row(13) = 1.0F;
  st.x = run.unscaled(st.x);
  return initialise(run);
}

namespace {

// Powell's damping keeps the curvature s·y at least 0.2·sᵀHs; returns the s·y in use.
float damp(DominRun& run, const std::vector<float>& s, float sy, float q) {
  MinimizerState& st = run.st;
  st.theta = 1.0F;
  // A curvature that is not positive (a gradient unchanged along the step, y = 0) is damped
  // too: the update divides by s·y.
  if (!(sy < st.sqrt_eps * dot(st.y, st.y)) && sy > 0.0F) return sy;
  const float ts = st.step_scale * st.sigma;
  const float m = ts * ts * q;  // sᵀHs: H·s = −t·σ·g_prev
  if (!(sy < 0.2F * m)) return sy;
  st.theta = 0.8F * m / (m - sy);
  if (st.theta != 1.0F) ++st.modsteps;
  for (std::size_t i = 0; i < s.size(); ++i)
    st.y[i] = st.theta * st.y[i] - (1.0F - st.theta) * ts * st.g_prev[i];
  return 0.2F * m;
}

void update_traces(MinimizerState& st, const std::vector<float>& s, const std::vector<float>& w,
                   float sy) {
  const float root = std::sqrt(sy);
  if (st.trace_a > 0.0F) st.trace_a += dot(st.y, st.y) - dot(st.z, st.z);
  if (st.trace_ainv > 0.0F) {
    float along = 0.0F, cross = 0.0F;
    for (std::size_t i = 0; i < s.size(); ++i) {
      along += (s[i] / root + w[i]) * st.y[i];
      cross += w[i] * s[i] / root;
    }
    st.trace_ainv += dot(s, s) / sy * along - 2.0F * cross;
  }
}

}  // namespace

void update_matrix(DominRun& run) {
  MinimizerState& st = run.st;
  const auto n = static_cast<std::size_t>(st.n);
  const float q = dot(st.d, st.g_prev) / st.step_scale;  // g_prevᵀH⁻¹g_prev
  const float root_q = std::sqrt(q);
  std::vector<float> s(n);
  for (std::size_t i = 0; i < n; ++i) {
    st.z[i] = st.g_prev[i] / root_q;
    s[i] = st.x[i] - st.x_prev[i];
    st.y[i] = st.g[i] - st.g_prev[i];
  }
  const float sy = damp(run, s, dot(s, st.y), q);
  st.row(6) = st.theta;
  const float inv_root = 1.0F / std::sqrt(sy);
  for (float& v : st.y) v *= inv_root;
  run.log.update_vectors(st.theta, st.z, st.y);
  st.row(14) = 1.0F;
  const std::vector<float> w = solve_factored(st, st.y);
  st.diag_backup = st.diag;
  st.b = st.a;
  for (int j = 0; j < st.n; ++j) {
    const auto uj = static_cast<std::size_t>(j);
    st.diag[uj] += st.y[uj] * st.y[uj] - st.z[uj] * st.z[uj];
    for (int i = j + 1; i < st.n; ++i) {
      const auto ui = static_cast<std::size_t>(i);
      st.a_at(i, j) += st.y[ui] * st.y[uj] - st.z[ui] * st.z[uj];
    }
  }
  if (factor(st)) {
    ++st.updates;
    update_traces(st, s, w, sy);
    run.log.traces(st.trace_a, st.trace_ainv);
  } else {
    ++st.noupdates;
    st.row(14) = -1.0F;
    st.diag = st.diag_backup;
    st.a = st.b;
  }
  run.log.marks(st.row(13), st.row(14));
}

}  // namespace structfit
