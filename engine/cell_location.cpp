// Cell search and folding with bounded loops: no coordinate, however wild, moves an index
// out of its list.
#include "engine/cell_location.h"

#include <cmath>
#include <limits>

namespace engine {

namespace {

constexpr float kNoFraction = 8388608.0f;  // 2^23: every float at least this large is whole

float edge(std::span<const float> edges, std::int32_t k) {
  return edges[static_cast<std::size_t>(k - 1)];
}

}  // namespace

std::int32_t locate_cell(std::span<const float> edges, float x, std::int32_t start) {
  const auto n = static_cast<std::int32_t>(edges.size());
  if (n == 0) return 1;
  std::int32_t k = start < 1 ? 1 : (start > n ? n : start);
  if (x < edge(edges, k)) {
    while (k > 1 && x < edge(edges, k - 1)) --k;
  } else if (x == edge(edges, k)) {
    if (k < n) ++k;
  } else if (x > edge(edges, k)) {
    while (k < n && x > edge(edges, k)) ++k;
  }
  return k;
}

NearbyCells prepare_nearby_cells(std::span<const float> edges) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  const auto n = static_cast<std::int32_t>(edges.size());
  NearbyCells near;
  near.edges.assign(edges.begin(), edges.end());
  near.count = n;
  if (n == 0) return near;
  bool ascending = true;  // and no NaN
  for (std::int32_t j = 1; j <= n; ++j)
    ascending = ascending && !std::isnan(edge(edges, j)) &&
                (j == 1 || edge(edges, j - 1) <= edge(edges, j));
  near.step.assign(static_cast<std::size_t>(n) + 1, kNaN);
  near.window.assign(static_cast<std::size_t>(n) + 3, ascending ? kInf : kNaN);
  near.window[0] = near.window[1] = ascending ? -kInf : kNaN;
  for (std::int32_t j = 1; j < n; ++j) {
    near.step[static_cast<std::size_t>(j)] = edge(edges, j);
    if (ascending) near.window[static_cast<std::size_t>(j) + 1] = edge(edges, j);
  }
  return near;
}

std::int32_t locate_far_cell(const NearbyCells& near, float x, std::int32_t start) {
  return locate_cell(near.edges, x, start);
}

std::int32_t search_upward(std::span<const float> edges, float x, std::int32_t start) {
  const auto n = static_cast<std::int32_t>(edges.size());
  if (n == 0) return 1;
  std::int32_t k = start < 1 ? 1 : (start > n ? n : start);
  while (k < n && x > edge(edges, k)) ++k;
  return k;
}

float nearest_integer(float v) {
  if (!(std::fabs(v) < kNoFraction)) return v;
  const auto whole = static_cast<float>(static_cast<std::int32_t>(v));  // toward zero
  const float fraction = v - whole;                                     // exact
  if (fraction >= 0.5f) return whole + 1.0f;
  if (fraction <= -0.5f) return whole - 1.0f;
  return whole;
}

float fold_periodic(float x, float period) {
  if (!(period > 0.0f) || !std::isfinite(period)) return x;
  return x - nearest_integer(x / period - 0.5f) * period;
}

}  // namespace engine
