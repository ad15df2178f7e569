// Building the cell lookup: the views of every column and layer index, then the atoms of
// every block, once per run, so that a step reads its block instead of assembling it.
#include "engine/cell_lookup.h"

#include <algorithm>

namespace engine {

namespace {

// `count` entries of `views` from index `first`, clipped to the list.
template <typename T>
std::span<const T> views_from(const std::vector<T>& views, std::int32_t first, std::int32_t count) {
  const auto size = static_cast<std::int32_t>(views.size());
  const std::int32_t begin = std::clamp(first, 0, size);
  const std::int32_t end = std::clamp(first + count, 0, size);
  if (end <= begin) return {};
  return {views.data() + begin, static_cast<std::size_t>(end - begin)};
}

// Appends the block of `mode` at (kx, ky, layer) to the lookup's atoms.
void append_block(const Crystal& crystal, CellLookup& cells, WalkMode mode, std::int32_t kx,
                  std::int32_t ky, std::int32_t layer) {
  const auto x = mode == WalkMode::kX ? views_from(cells.x, kx, 1) : views_from(cells.x, kx - 1, 2);
  const auto y = mode == WalkMode::kY ? views_from(cells.y, ky, 1) : views_from(cells.y, ky - 1, 2);
  // Layer L is at index L - 1.
  const auto layers = mode == WalkMode::kZ ? views_from(cells.layer, layer - 1, 1)
                                           : views_from(cells.layer, layer - 2, 2);
  append_occupied_cells(crystal, x, y, layers, cells.block_atoms);
}

void add_blocks(const Crystal& crystal, CellLookup& cells) {
  cells.block_first.push_back(0);
  for (const WalkMode mode : {WalkMode::kZ, WalkMode::kX, WalkMode::kY}) {
    for (std::int32_t layer = 0; layer < cells.layer_count; ++layer) {
      for (std::int32_t ky = 0; ky < cells.y_count; ++ky) {
        for (std::int32_t kx = 0; kx < cells.x_count; ++kx) {
          append_block(crystal, cells, mode, kx, ky, layer);
          cells.block_first.push_back(cells.block_atoms.size());
        }
      }
    }
  }
}

}  // namespace

void append_occupied_cells(const Crystal& crystal, std::span<const CellView> x,
                           std::span<const CellView> y, std::span<const std::size_t> layers,
                           std::vector<BlockAtom>& atoms) {
  for (const CellView& xc : x) {
    for (const CellView& yc : y) {
      for (const std::size_t layer : layers) {
        const std::size_t cell = xc.offset + yc.offset + layer;
        const std::int32_t a = cell < crystal.cell_atom.size() ? crystal.cell_atom[cell] : 0;
        if (a != 0) atoms.push_back({a, xc.shift, yc.shift});
      }
    }
  }
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
  lookup.x_count = static_cast<std::int32_t>(nx + 2);
  lookup.y_count = static_cast<std::int32_t>(ny + 2);
  lookup.layer_count = static_cast<std::int32_t>(nz + 2);
  lookup.x_near = prepare_nearby_cells(crystal.x_edges);
  lookup.y_near = prepare_nearby_cells(crystal.y_edges);
  lookup.x_fold = prepare_fold(crystal.repeat_x);
  lookup.y_fold = prepare_fold(crystal.repeat_y);
  add_blocks(crystal, lookup);
  return lookup;
}

}  // namespace engine
