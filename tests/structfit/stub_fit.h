// A stub for the simulation chain of a fit: each data set's R-factor is a known separable
// cubic of the parameters, so the drivers' differences and minima can be checked exactly.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "structfit/fit_drivers.h"
#include "structfit/fit_setup.h"
#include "textio/fixed_text.h"

namespace stub_fit {

// One parameter's share: base + a2 (p − centre)^2 + a3 (p − centre)^3.
struct Cubic {
  float base = 0.0f;
  float centre = 0.0f;
  float a2 = 0.0f;
  float a3 = 0.0f;
};

inline double value(const std::vector<Cubic>& cubics, const std::vector<double>& p) {
  double sum = 0.0;
  for (std::size_t i = 0; i < cubics.size(); ++i) {
    const double u = p[i] - cubics[i].centre;
    sum += cubics[i].base + cubics[i].a2 * u * u + cubics[i].a3 * u * u * u;
  }
  return sum;
}

// A set-up of `sets` data sets and one parameter (guess, step) per entry.
inline structfit::FitSetup setup(const std::vector<std::pair<float, float>>& parameters,
                                 std::int32_t points, std::size_t sets = 1) {
  structfit::FitSetup s;
  s.data_sets.resize(sets);
  s.point_count = points;
  s.relative_tolerance = 0.001f;
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    structfit::FitParameter p;
    std::string name = "p";
    name += std::to_string(i + 1);
    p.name = textio::fixed_width(name, 20);
    p.guess = parameters[i].first;
    p.step = parameters[i].second;
    s.parameters.push_back(p);
  }
  return s;
}

// Data sets as (weight, cubics); model point l of parameter `index` sits at the offset
// (l − 1 − h)·step from the vector, h = (NPTS − 1)/2, and gets `bump[l − 1]` added.
inline structfit::CurveSource source(const structfit::FitSetup& setup,
                                     std::vector<std::pair<std::int32_t, std::vector<Cubic>>> sets,
                                     std::vector<float> bump = {}) {
  const std::int32_t points = setup.point_count;
  std::vector<float> steps;
  for (const structfit::FitParameter& p : setup.parameters) steps.push_back(p.step);
  return [=](std::size_t set, const std::vector<float>& values, std::int32_t index) {
    structfit::DataSetCurve curve;
    curve.weight = sets[set].first;
    const std::int32_t h = (points - 1) / 2;
    const auto i = static_cast<std::size_t>(index - 1);
    for (std::int32_t l = 1; l <= points; ++l) {
      std::vector<double> p(values.begin(), values.end());
      p[i] += static_cast<double>(static_cast<float>(l - 1 - h) * steps[i]);
      const float extra = bump.empty() ? 0.0f : bump[static_cast<std::size_t>(l - 1)];
      curve.r.push_back(static_cast<float>(value(sets[set].second, p)) + extra);
    }
    return curve;
  };
}

}  // namespace stub_fit
