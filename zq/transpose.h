// Reordering of 2-D blocks between the file's order (axis 2 fastest) and callers' order
// (axis 1 fastest), for whole blocks or tiles of them inside a larger array.
#pragma once

#include <cstddef>

namespace zq {

// Moves element (r, c) of the rows x cols array at `from`, whose rows start `from_stride`
// elements apart, to position c * to_stride + r at `to`. Elements are `width` bytes (1, 2
// or 4) and are copied bit for bit.
void transpose(const void* from, std::size_t from_stride, void* to, std::size_t to_stride,
               std::size_t rows, std::size_t cols, std::size_t width);

}  // namespace zq
