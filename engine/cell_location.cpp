// Cell search and folding with bounded loops: no coordinate, however wild, moves an index
// out of its list.
#include "engine/cell_location.h"

#include <cmath>

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
