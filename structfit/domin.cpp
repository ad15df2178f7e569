// The minimizer's passes: protocol row, conditioning and small-step tests, direction, step
// search, convergence measures, progress rules and the update; the final report.
#include "structfit/domin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "structfit/domin_dump.h"
#include "structfit/domin_report.h"
#include "structfit/domin_run.h"
#include "textio/format_writer.h"
#include "textio/free_writer.h"

namespace structfit {
namespace {

constexpr int stalled_steps = 4;

float smallest_pivot(const MinimizerState& st) {
  float smallest = st.a_at(0, 0);
  for (int i = 1; i < st.n; ++i) smallest = std::min(smallest, st.a_at(i, i));
  return smallest;
}

float diagonal_sum(const MinimizerState& st) {
  float sum = 0.0F;
  for (float v : st.diag) sum += v;
  return sum;
}

float condition_estimate(const MinimizerState& st) {
  if (st.trace_a > 0.0F && st.trace_ainv > 0.0F)
    return st.trace_a * st.trace_ainv / static_cast<float>(st.n * st.n);
  const float pivot = smallest_pivot(st);
  return diagonal_sum(st) / (pivot * pivot);
}

bool well_conditioned(const MinimizerState& st) {
  const float pivot = smallest_pivot(st);
  const float previous_condition =
      st.protocol[static_cast<std::size_t>((st.step - 2) + 7 * protocol_rows)];
  return (st.eps * st.trace_a <= 1.0F || st.eps * st.trace_ainv <= 1.0F) &&
         st.eps * diagonal_sum(st) <= pivot * pivot && previous_condition <= 1.0F / st.sqrt_eps;
}

void open_row(DominRun& run) {
  MinimizerState& st = run.st;
  for (int c = 1; c <= protocol_columns; ++c) st.row(c) = 0.0F;
  st.row(1) = static_cast<float>(st.step);
  st.row(2) = st.f;
  st.row(3) = norm(st.s);
  st.row(4) = norm(st.g);
  st.row(5) = diagonal_sum(st);
  st.row(13) = -1.0F;
  run.log.step_head(st.step, st.f, norm(st.g), st.x, st.diag);
}

// Direction from RᵀR·d = g; false when it vanishes.
bool direction(DominRun& run) {
  MinimizerState& st = run.st;
  st.d = solve_factored(st, st.g);
  st.norm_d = norm(st.d);
  if (st.norm_d == 0.0F) {
    st.termination = reason::zero_direction;
    return false;
  }
  st.dskal = dot(st.g, st.d);
  st.row(7) = st.dskal;
  run.log.direction(st.row(5), st.row(8), st.d);
  return true;
}

// The three tolerance measures on unscaled variables, and the extra test.
bool converged(DominRun& run) {
  MinimizerState& st = run.st;
  const std::vector<float> x = run.unscaled(st.x), x_prev = run.unscaled(st.x_prev);
  std::vector<float> step(x.size()), g(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) {
    step[i] = x[i] - x_prev[i];
    g[i] = st.g[i] / run.scale[i];
  }
  const float tol = run.options.tolerance;
  const float xtol = norm(step), xconv = std::sqrt(tol) * (norm(x_prev) + 1.0F);
  const float etol = std::fabs(st.f - st.f_prev), econv = tol * (std::fabs(st.f_prev) + 1.0F);
  const float gtol = norm(g), gconv = std::cbrt(tol) * (std::fabs(st.f_prev) + 1.0F);
  run.console
      << textio::format_record("(/,' XTOL =',F18.10,10X,'(CONV. =',F18.10,')')", {xtol, xconv})
      << textio::format_record("(' ETOL =',F18.10,10X,'(CONV. =',F18.10,')')", {etol, econv})
      << textio::format_record("(' GTOL =',F18.10,10X,'(CONV. =',F18.10,')')", {gtol, gconv});
  const bool extra = run.callbacks.converged && run.callbacks.converged();
  return (xtol < xconv && etol < econv && gtol < gconv) || extra;
}

// Gradient at the accepted point, in scaled variables; false on an error there.
bool new_gradient(DominRun& run) {
  MinimizerState& st = run.st;
  st.g_prev = st.g;
  ++st.gradient_calls;
  if (run.callbacks.gradient(run.unscaled(st.x), st.g, run.h) != 0) return false;
  for (std::size_t i = 0; i < st.g.size(); ++i) st.g[i] *= run.scale[i];
  return true;
}

enum class Outcome { next_pass, stop };

// Direction, step search and convergence test, restarting after a failed search.
Outcome take_step(DominRun& run) {
  MinimizerState& st = run.st;
  bool restarted = false;
  for (;;) {
    if (!direction(run)) return Outcome::stop;
    run.evaluations_in_step = 0;
    const bool found = step_search(run);
    if (found && !new_gradient(run)) {
      st.termination = reason::gradient_error;
      return Outcome::stop;
    }
    run.log.search_result(st.sigma, st.dskal, st.norm_d,
                          static_cast<float>(run.evaluations_in_step));
    const bool done = converged(run);
    st.row(9) = st.sigma;
    st.row(10) = st.step_scale;
    st.row(11) = st.norm_d;
    st.row(12) = static_cast<float>(run.evaluations_in_step);
    if (done) {
      st.termination = reason::converged;
      return Outcome::stop;
    }
    if (found) return Outcome::next_pass;
    // A search that fails again right after a fresh matrix cannot move: end, do not loop.
    if (restarted) {
      st.termination = reason::zero_step;
      return Outcome::stop;
    }
    st.row(13) = 1.0F;
    if (!restart(run)) return Outcome::stop;
    restarted = true;
  }
}

bool stalled(MinimizerState& st) {
  std::int32_t& count = st.no_progress;
  if (st.f_prev - st.f <= (std::fabs(st.f) + st.eps1000) * st.eps1000)
    ++count;
  else
    count = 0;
  return count >= stalled_steps;
}

bool fresh_start(DominRun& run) {
  MinimizerState& st = run.st;
  st.x = st.start;
  st.x_prev = st.start;
  if (!initialise(run)) return false;
  for (std::size_t i = 0; i < st.s.size(); ++i) st.s[i] = std::fabs(st.x[i]) + 1.0F;
  st.norm_x = norm(st.s);
  return true;
}

void reload(DominRun& run) {
  const std::string dashes(45, '-');
  run.console << (textio::FreeLine{} << dashes).str()
              << (textio::FreeLine{} << "Reloading search data from previous dump file").str()
              << (textio::FreeLine{} << dashes).str()
              << (textio::FreeLine{} << "reading from dump file").str();
  run.st = read_restart_file(run.options.restart_file, run.st.n, run.scale);
  run.h.assign(run.scale.size(), 0.0F);
}

// The dump at the head of a pass; the first pass after a resume keeps the dump it came from.
void dump(DominRun& run, int pass) {
  if (pass == 0 && run.options.resume) return;
  run.console << '\n'
              << (textio::FreeLine{}
                  << (pass == 0 ? "Creating restart file on unit 69" : "Updating restart file"))
                     .str();
  write_restart_file(run.options.restart_file, run.st, run.scale);
}

void iterate(DominRun& run) {
  MinimizerState& st = run.st;
  if (run.options.resume)
    reload(run);
  else if (!fresh_start(run))
    return;
  for (int pass = 0;; ++pass) {
    dump(run, pass);
    if (++st.step > st.step_limit) {
      --st.step;
      st.termination = reason::step_limit;
      return;
    }
    open_row(run);
    if (st.step > 1 && !well_conditioned(st) && !restart(run)) return;
    st.row(8) = condition_estimate(st);
    if (st.row(3) <= (st.eps23_step + st.norm_x) * st.eps23_step &&
        st.row(4) <= std::max(st.eps * st.row(8), st.eps23_gradient)) {
      st.termination = reason::small_step;
      return;
    }
    if (take_step(run) == Outcome::stop) return;
    if (stalled(st)) {
      st.termination = reason::no_decrease;
      return;
    }
    if (norm(st.s) == 0.0F) {
      st.termination = reason::zero_step;
      return;
    }
    update_matrix(run);
  }
}

}  // namespace

MinimizerState domin(std::vector<float>& x, const DominCallbacks& callbacks,
                     const DominOptions& options, std::ostream& console) {
  if (x.empty()) throw std::invalid_argument("domin needs at least one variable");
  MinimizerState st = make_minimizer_state(static_cast<int>(x.size()), x);
  st.start_mode = options.resume ? 0 : 1;
  StepLog log(options.step_log, options.resume);
  DominRun run{st, callbacks, options, console, log, {}, {}, 0};
  iterate(run);
  // The caller receives the point and gradient in its own variables.
  x = run.unscaled(st.x);
  for (std::size_t i = 0; i < st.g.size(); ++i) st.g[i] /= run.scale[i];
  st.x = x;
  write_report(st, console);
  return st;
}

}  // namespace structfit
