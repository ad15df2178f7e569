// Reads and writes of tiles of a block of a spectrum's counts, each one HDF5 hyperslab of
// the counts dataset moved to or from a contiguous array in file order.
#pragma once

#include <string>

#include "zq/blocks.h"
#include "zq/h5_handle.h"
#include "zq/spectrum_file.h"
#include "zq/tiles.h"

namespace zq {

class TileAccess {
 public:
  // `block` must lie inside the spectrum's extent and hold at least one element.
  TileAccess(const SpectrumFile& file, const Block& block);

  // `data` holds tile.elements() elements of the stored type in file order: HDF5 only
  // copies them, never converts.
  void read(const Tile& tile, void* data) const;
  void write(const Tile& tile, const void* data) const;

 private:
  // Selects the tile in the file's dataspace and returns a dataspace for its elements.
  h5::Handle select(const Tile& tile, const std::string& action) const;

  const SpectrumFile& file_;
  int rank_;
  hsize_t start_[2] = {};  // the block's first channel per axis, counted from the base
  h5::Handle file_space_;
};

}  // namespace zq
