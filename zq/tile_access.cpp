// Hyperslab selection of tiles in the counts dataset, whose dimensions are the axes in order.
#include "zq/tile_access.h"

#include <string>

#include "zq/types.h"

namespace zq {

TileAccess::TileAccess(const SpectrumFile& file, const Block& block)
    : file_(file), rank_(block.dim) {
  for (int axis = 0; axis < rank_; ++axis) {
    start_[axis] = static_cast<hsize_t>(static_cast<long long>(block.first[axis]) -
                                        file.description().bases[axis]);
  }
  file_space_ = h5::owned_space(H5Dget_space(file.counts()),
                                "selecting a block of spectrum '" + file.name() + "'");
}

h5::Handle TileAccess::select(const Tile& tile, const std::string& action) const {
  // A 1-D block is one line: its channels run along the only axis.
  hsize_t start[2] = {start_[0] + tile.line, start_[1] + tile.channel};
  hsize_t count[2] = {tile.lines, tile.channels};
  if (rank_ == 1) {
    start[0] = start_[0] + tile.channel;
    count[0] = tile.channels;
  }
  h5::checked(H5Sselect_hyperslab(file_space_.id(), H5S_SELECT_SET, start, nullptr, count, nullptr),
              action);
  const hsize_t elements = tile.elements();
  return h5::owned_space(H5Screate_simple(1, &elements, nullptr), action);
}

void TileAccess::read(const Tile& tile, void* data) const {
  const std::string action = "reading spectrum '" + file_.name() + "'";
  const h5::Handle memory_space = select(tile, action);
  h5::checked(H5Dread(file_.counts(), memory_type(file_.description().type), memory_space.id(),
                      file_space_.id(), H5P_DEFAULT, data),
              action);
}

void TileAccess::write(const Tile& tile, const void* data) const {
  const std::string action = "writing spectrum '" + file_.name() + "'";
  const h5::Handle memory_space = select(tile, action);
  h5::checked(H5Dwrite(file_.counts(), memory_type(file_.description().type), memory_space.id(),
                       file_space_.id(), H5P_DEFAULT, data),
              action);
}

}  // namespace zq
