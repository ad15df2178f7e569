// Constants of the minimizer derived from the arithmetic of 32-bit reals.
#include "structfit/domin_state.h"

#include <cmath>

namespace structfit {

float machine_epsilon() {
  // volatile keeps each sum rounded to 32 bits, as the stored value is.
  volatile float eps = 9.536743e-7F;
  for (;;) {
    volatile float sum = 1.0F + eps;
    if (sum == 1.0F) break;
    eps = eps * 0.5F;
  }
  return eps * 2.0F;
}

float smallest_positive(float eps) {
  volatile float last = eps;
  for (;;) {
    volatile float next = last * 0.0625F;
    if (next == 0.0F) return last;
    last = next;
  }
}

MinimizerState make_minimizer_state(int n, const std::vector<float>& start) {
  MinimizerState st;
  st.n = n;
  const auto un = static_cast<std::size_t>(n);
  for (auto* v : {&st.x, &st.d, &st.g, &st.x_prev, &st.d_prev, &st.g_prev, &st.s, &st.diag,
                  &st.diag_backup, &st.z, &st.y})
    v->assign(un, 0.0F);
  st.start = start;
  st.a.assign(un * un, 0.0F);
  st.b.assign(un * un, 0.0F);
  st.protocol.assign(static_cast<std::size_t>(protocol_rows) * protocol_columns, 0.0F);
  st.eps = machine_epsilon();
  st.tiny = smallest_positive(st.eps);
  const float eps23 = std::pow(st.eps, 2.0F / 3.0F);
  st.eps23_step = eps23;
  st.eps23_gradient = eps23;
  st.sigma_min = eps23;
  st.eps1000 = 1000.0F * st.eps;
  st.eps17 = 0.25F * std::pow(st.eps, 1.0F / 7.0F);
  st.sqrt_eps = std::sqrt(st.eps);
  return st;
}

}  // namespace structfit
