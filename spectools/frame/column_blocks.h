// Tools that make each column of a two-dimensional target (its run along axis 2) from one
// column of the source move their counts in blocks of adjacent columns: one store read and
// one store write per block instead of one of each per column.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "spectools/frame/shape.h"

namespace spectools {

// Channels a block holds at about most: a few hundred kilobytes of counts per store call.
inline constexpr long long kBlockChannels = 1 << 16;

// Where the columns go: source column bases[0] + k becomes target column first1 + k, which
// runs over count2 channels of axis 2 from channel first2.
struct ColumnTarget {
  int first1 = 0;
  int first2 = 0;
  int count2 = 0;
};

// Makes the target column `target` (count2 counts, all 0 on entry) from the source column
// `source` (the source's whole axis 2) of absolute axis-1 channel `column`.
using ColumnFill = std::function<void(int column, std::span<const std::int32_t> source,
                                      std::span<std::int32_t> target)>;

// Columns per block: as many columns of `column_channels` channels as fit in
// `block_channels`, at least 1 and at most `columns`.
int columns_per_block(int columns, int column_channels, long long block_channels);

// Runs `fill` over every column of the two-dimensional spectrum `from` (description
// `source`) in order, and writes the columns it makes to `to`, which must already hold them
// as `target` places them. Blocks hold about `block_channels` channels of the longer of a
// source and a target column. A failing store call ends the tool through library_failed
// with the spectrum's name; what `fill` throws passes through, leaving earlier blocks
// written.
void transform_columns(const std::string& from, const Shape& source, const std::string& to,
                       const ColumnTarget& target, const ColumnFill& fill,
                       long long block_channels = kBlockChannels);

}  // namespace spectools
