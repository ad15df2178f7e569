// The column-block loop: read a block of columns, make every target column, write the block.
#include "spectools/frame/column_blocks.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <vector>

#include "spectools/frame/blocks.h"

namespace spectools {
namespace {

// Column k of a block of `width` columns, axis 1 fastest, into `column`.
void gather(std::span<const std::int32_t> block, std::size_t width, std::size_t k,
            std::span<std::int32_t> column) {
  for (std::size_t j = 0; j < column.size(); ++j) column[j] = block[j * width + k];
}

void scatter(std::span<const std::int32_t> column, std::size_t width, std::size_t k,
             std::span<std::int32_t> block) {
  for (std::size_t j = 0; j < column.size(); ++j) block[j * width + k] = column[j];
}

}  // namespace

int columns_per_block(int columns, int column_channels, long long block_channels) {
  const long long fit = block_channels / std::max(column_channels, 1);
  return static_cast<int>(std::clamp<long long>(fit, 1, std::max(columns, 1)));
}

void transform_columns(const std::string& from, const Shape& source, const std::string& to,
                       const ColumnTarget& target, const ColumnFill& fill,
                       long long block_channels) {
  const int columns = source.ranges[0];
  const int rows = source.ranges[1];
  const int per_block = columns_per_block(columns, std::max(rows, target.count2), block_channels);
  std::vector<std::int32_t> in_column(static_cast<std::size_t>(rows));
  // A negative target length is left for the store to refuse.
  std::vector<std::int32_t> out_column(static_cast<std::size_t>(std::max(target.count2, 0)));
  for (long long done = 0; done < columns; done += per_block) {
    const int width = static_cast<int>(std::min<long long>(per_block, columns - done));
    const int first = static_cast<int>(source.bases[0] + done);
    // A placement beyond the int range is held at its end, where the store refuses it.
    const int placed = static_cast<int>(std::min<long long>(target.first1 + done, INT_MAX));
    const std::vector<std::int32_t> in =
        read_block(from, source, Block{2, {first, source.bases[1]}, {width, rows}});
    std::vector<std::int32_t> out(static_cast<std::size_t>(width) * out_column.size());
    for (int k = 0; k < width; ++k) {
      const auto index = static_cast<std::size_t>(k);
      gather(in, static_cast<std::size_t>(width), index, in_column);
      std::fill(out_column.begin(), out_column.end(), 0);
      fill(first + k, in_column, out_column);
      scatter(out_column, static_cast<std::size_t>(width), index, out);
    }
    write_block(to, Block{2, {placed, target.first2}, {width, target.count2}}, out);
  }
}

}  // namespace spectools
