// Analytic test functions for the minimizer and scratch file names for its files.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "structfit/domin.h"

namespace domin_case {

using structfit::DominCallbacks;

// A per-process scratch name in the temporary directory.
inline std::string temp_path(const char* suffix) {
  return (std::filesystem::temp_directory_path() /
          ("domin-case-" + std::to_string(getpid()) + suffix))
      .string();
}

// f = Σ a_i (x_i − c_i)², exact gradient and second derivatives.
inline DominCallbacks bowl(std::vector<float> a, std::vector<float> c) {
  DominCallbacks cb;
  cb.objective = [=](const std::vector<float>& x, float& f) {
    f = 0.0F;
    for (std::size_t i = 0; i < x.size(); ++i) f += a[i] * (x[i] - c[i]) * (x[i] - c[i]);
    return 0;
  };
  cb.gradient = [=](const std::vector<float>& x, std::vector<float>& g, std::vector<float>& h) {
    for (std::size_t i = 0; i < x.size(); ++i) {
      g[i] = 2.0F * a[i] * (x[i] - c[i]);
      h[i] = 2.0F * a[i];
    }
    return 0;
  };
  return cb;
}

// Σ 100 (x_{i+1} − x_i²)² + (1 − x_i)², minimum 0 at x = 1.
inline DominCallbacks rosenbrock() {
  DominCallbacks cb;
  cb.objective = [](const std::vector<float>& x, float& f) {
    f = 0.0F;
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
      const float u = x[i + 1] - x[i] * x[i], v = 1.0F - x[i];
      f += 100.0F * u * u + v * v;
    }
    return 0;
  };
  cb.gradient = [](const std::vector<float>& x, std::vector<float>& g, std::vector<float>& h) {
    std::fill(g.begin(), g.end(), 0.0F);
    std::fill(h.begin(), h.end(), 0.0F);
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
      const float u = x[i + 1] - x[i] * x[i];
      g[i] += -400.0F * x[i] * u - 2.0F * (1.0F - x[i]);
      g[i + 1] += 200.0F * u;
      h[i] += 1200.0F * x[i] * x[i] - 400.0F * x[i + 1] + 2.0F;
      h[i + 1] += 200.0F;
    }
    return 0;
  };
  return cb;
}

}  // namespace domin_case
