// The cell map as the walk reads it, prepared once per run: the cells of each column and
// layer index with their periodic images, and for every walking mode and cell position the
// atoms of the block a partner search examines there, in search order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/cell_location.h"
#include "engine/model.h"

namespace engine {

// How the walk steps through the crystal: layer by layer (Z), or for grazing directions cell
// edge by cell edge along x (X) or y (Y).
enum class WalkMode { kZ, kX, kY };

// A cell as the partner search reads it: its offset in the crystal's cell map and the shift
// (Å) added to the ion's coordinate to see it (non-zero for a periodic image).
struct CellView {
  std::size_t offset = 0;
  float shift = 0.0f;
};

// One atom of a block: its number (1-based) and the shifts (Å) added to the ion's x and y to
// see it in the periodic image the block shows it in.
struct BlockAtom {
  std::int32_t atom = 0;
  float shift_x = 0.0f, shift_y = 0.0f;
  bool operator==(const BlockAtom&) const = default;
};

// The atoms a partner search examines, in search order.
struct CandidateBlock {
  std::span<const BlockAtom> atoms;
};

// The cell map seen from the walk. Along x, index i = 0..nx + 1: cells 1..nx at offset
// i - 1; index nx + 1 is cell 1 one repeat further on (shift -Xrep), index 0 cell nx one
// repeat back (shift +Xrep). Along y the same with offsets (j - 1) nx. Layers 1..nz at
// offsets (layer - 1) nx ny, stored from index 0.
//
// The blocks: for each mode and each kx = 0..nx + 1, ky = 0..ny + 1, layer L = 0..nz + 1,
// the occupied cells among Z mode: x-cells kx - 1, kx, y-cells ky - 1, ky, layer L; X mode:
// x-cell kx, y-cells ky - 1, ky, layers L - 1, L; Y mode: x-cells kx - 1, kx, y-cell ky,
// layers L - 1, L; taken x-cell outermost, then y-cell, then layer, and leaving out indices
// outside the lists above. Positions outside those ranges have empty blocks.
struct CellLookup {
  std::vector<CellView> x, y;
  std::vector<std::size_t> layer;
  NearbyCells x_near, y_near;                              // the cell search of the lateral edges
  PeriodicFold x_fold, y_fold;                             // the folds into the repeat cell
  std::int32_t x_count = 0, y_count = 0, layer_count = 0;  // nx + 2, ny + 2, nz + 2
  std::vector<std::size_t>
      block_first;  // per (mode, L, ky, kx) the first atom, one more at the end
  std::vector<BlockAtom> block_atoms;

  CandidateBlock block(WalkMode mode, std::int32_t kx, std::int32_t ky, std::int32_t layer) const {
    // One unsigned comparison per index: a negative index wraps to a large one.
    if (static_cast<std::uint32_t>(kx) >= static_cast<std::uint32_t>(x_count) ||
        static_cast<std::uint32_t>(ky) >= static_cast<std::uint32_t>(y_count) ||
        static_cast<std::uint32_t>(layer) >= static_cast<std::uint32_t>(layer_count))
      return {};
    const std::size_t b = ((static_cast<std::size_t>(mode) * static_cast<std::size_t>(layer_count) +
                            static_cast<std::size_t>(layer)) *
                               static_cast<std::size_t>(y_count) +
                           static_cast<std::size_t>(ky)) *
                              static_cast<std::size_t>(x_count) +
                          static_cast<std::size_t>(kx);
    return {{block_atoms.data() + block_first[b], block_first[b + 1] - block_first[b]}};
  }
};

// The lookup of a crystal. A cell_atom table smaller than the cell grid counts as empty where
// it ends.
CellLookup make_cell_lookup(const Crystal& crystal);

// Appends the occupied cells among the given x-cells, y-cells and layers to `atoms`, x-cell
// outermost, then y-cell, then layer.
void append_occupied_cells(const Crystal& crystal, std::span<const CellView> x,
                           std::span<const CellView> y, std::span<const std::size_t> layers,
                           std::vector<BlockAtom>& atoms);

}  // namespace engine
