// The whole state of the quasi-Newton minimizer in one record, in the order in which a
// restart dump stores it, and the machine constants of 32-bit reals it derives at start.
#pragma once

#include <cstdint>
#include <vector>

namespace structfit {

// Termination reasons, carried as 32-bit reals like every other state value.
namespace reason {
inline constexpr float converged = 5.0F;        // three tolerances met, or the extra test
inline constexpr float zero_step = 4.0F;        // the accepted step had norm 0
inline constexpr float no_decrease = 3.0F;      // four steps in a row without relative decrease
inline constexpr float small_step = 1.0F;       // small step and gradient against conditioning
inline constexpr float zero_direction = 0.0F;   // the search direction vanished
inline constexpr float step_limit = -2.0F;      // more than the step limit
inline constexpr float gradient_error = -3.0F;  // the gradient routine failed at a (re)start
}  // namespace reason

inline constexpr int protocol_rows = 3000;
inline constexpr int protocol_columns = 14;

struct MinimizerState {
  std::int32_t protocol_flag = 0;  // 1: print the short protocol in the report
  std::int32_t no_progress = 0;    // steps in a row without relative decrease (first reserved)
  std::int32_t start_mode = 1;     // 0: resume, otherwise fresh start
  std::int32_t n = 0;
  std::int32_t gradient_cost = 0;
  std::int32_t function_calls = 0, gradient_calls = 0, updates = 0, noupdates = 0, restarts = 0,
               modsteps = 0;
  std::int32_t step = 0, step_limit = protocol_rows;

  float f = 0, norm_x = 0, norm_d = 0;
  float sigma = 0, f_prev = 0, norm_x_prev = 0;
  float norm_d_prev = 1.0F, sigma_prev = 0, f_trial = 0, dskal = 0;
  float search_result = 0, sigma_min = 0, sigma_max = 2048.0F, interpolation_low = 0.1F;
  float extrapolation_bound = 2.0F, delta = 0.01F, angle = 0.99F, step_scale = 1.0F;
  float eps23_step = 0, eps23_gradient = 0, eps1000 = 0;
  float eps = 0, tiny = 0, eps17 = 0;  // ε, smallest positive number, 0.25·ε^(1/7)
  float trace_a = 0, trace_ainv = 0;
  float sqrt_eps = 0, theta = 1.0F, termination = 0;

  std::vector<float> x, d, g, x_prev, d_prev, g_prev, s;
  std::vector<float> diag, diag_backup, z, y, start;
  // Column-major n × n: on and above the diagonal the Cholesky factor R of the quasi-Newton
  // matrix H (RᵀR = H), below it H's strict lower triangle; b is its backup copy.
  std::vector<float> a, b;
  std::vector<float> protocol;  // protocol_rows × protocol_columns, column-major

  float& a_at(int i, int j) { return a[static_cast<std::size_t>(i + j * n)]; }
  float a_at(int i, int j) const { return a[static_cast<std::size_t>(i + j * n)]; }
  float& row(int column) {  // column 1..14 of the current step's protocol row
    return protocol[static_cast<std::size_t>((step - 1) + (column - 1) * protocol_rows)];
  }
};

// Machine epsilon of 32-bit reals found by halving from 2^-20 while 1 + ε differs from 1,
// then doubling once.
float machine_epsilon();
// The smallest positive 32-bit real reached from ε by factors of 1/16.
float smallest_positive(float eps);

// A zeroed state for n variables with the constants derived from ε.
MinimizerState make_minimizer_state(int n, const std::vector<float>& start);

}  // namespace structfit
