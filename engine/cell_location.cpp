// Cell search and folding with bounded loops: no coordinate, however wild, moves an index
// out of its list.
#include "engine/cell_location.h"

#include <bit>
#include <cmath>
#include <limits>

namespace engine {

namespace {

constexpr float kNoFraction = 8388608.0f;  // 2^23: every float at least this large is whole

float edge(std::span<const float> edges, std::int32_t k) {
  return edges[static_cast<std::size_t>(k - 1)];
}

// Floats in order as integers: a key rises with the float (both zeros share key 0).
std::int64_t order_key(float v) {
  const auto bits = static_cast<std::int64_t>(std::bit_cast<std::uint32_t>(v) & 0x7fffffffu);
  return std::signbit(v) ? -bits : bits;
}

float float_of_key(std::int64_t key) {
  const auto bits = static_cast<std::uint32_t>(key < 0 ? -key : key);
  return key < 0 ? -std::bit_cast<float>(bits) : std::bit_cast<float>(bits);
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

float fold_count(float x, float period) {
  return nearest_integer(x / period - 0.5f);
}

float fold_periodic(float x, float period) {
  if (!(period > 0.0f) || !std::isfinite(period)) return x;
  return x - fold_count(x, period) * period;
}

PeriodicFold prepare_fold(float period) {
  PeriodicFold fold;
  fold.period = period;
  // The counts at -4P and 4P are below -1 and above 2; the bracket must be finite.
  if (!(period > 0.0f) || !(period <= std::numeric_limits<float>::max() / 4.0f)) return fold;
  const std::int64_t low = order_key(-4.0f * period), high = order_key(4.0f * period);
  if (!(fold_count(-4.0f * period, period) < -1.0f && fold_count(4.0f * period, period) >= 2.0f))
    return fold;
  const auto lowest_reaching = [&](float count) {
    std::int64_t below = low, at = high;  // count(below) < count <= count(at)
    while (at - below > 1) {
      const std::int64_t middle = below + (at - below) / 2;
      (fold_count(float_of_key(middle), period) < count ? below : at) = middle;
    }
    return float_of_key(at);
  };
  fold.lowest = lowest_reaching(-1.0f);
  fold.zero = lowest_reaching(0.0f);
  fold.one = lowest_reaching(1.0f);
  fold.beyond = lowest_reaching(2.0f);
  return fold;
}

}  // namespace engine
