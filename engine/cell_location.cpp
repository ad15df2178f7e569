// Cell search and folding with bounded loops: no coordinate, however wild, moves an index
// out of its list.
#include "engine/cell_location.h"

#include <algorithm>
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

CellLookup make_cell_lookup(const Crystal& crystal) {
  const auto nx = static_cast<std::size_t>(std::max(crystal.cell_count_x, 1));
  const auto ny = static_cast<std::size_t>(std::max(crystal.cell_count_y, 1));
  const auto nz = static_cast<std::size_t>(std::max(crystal.layer_count, 0));
  CellLookup lookup;
  lookup.x.push_back({nx - 1, crystal.repeat_x});
  for (std::size_t i = 0; i < nx; ++i) lookup.x.push_back({i, 0.0f});
  lookup.x.push_back({0, -crystal.repeat_x});
  lookup.y.push_back({(ny - 1) * nx, crystal.repeat_y});
  for (std::size_t j = 0; j < ny; ++j) lookup.y.push_back({j * nx, 0.0f});
  lookup.y.push_back({0, -crystal.repeat_y});
  for (std::size_t l = 0; l < nz; ++l) lookup.layer.push_back(l * nx * ny);
  return lookup;
}

}  // namespace engine
