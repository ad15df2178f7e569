// Strided transposition in cache-sized squares, with the element width fixed at compile time
// so that each move is a single load and store.
#include "zq/transpose.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace zq {
namespace {

// Squares of this many rows and columns are moved one at a time, so that the rows read and
// the rows written stay in cache however far apart the rows of either array lie.
constexpr std::size_t kSquare = 16;

template <class T>
void transpose_as(const std::byte* from, std::size_t from_stride, std::byte* to,
                  std::size_t to_stride, std::size_t rows, std::size_t cols) {
  for (std::size_t r0 = 0; r0 < rows; r0 += kSquare) {
    const std::size_t r_end = std::min(rows, r0 + kSquare);
    for (std::size_t c0 = 0; c0 < cols; c0 += kSquare) {
      const std::size_t c_end = std::min(cols, c0 + kSquare);
      for (std::size_t r = r0; r < r_end; ++r) {
        for (std::size_t c = c0; c < c_end; ++c) {
          std::memcpy(to + (c * to_stride + r) * sizeof(T),
                      from + (r * from_stride + c) * sizeof(T), sizeof(T));
        }
      }
    }
  }
}

}  // namespace

void transpose(const void* from, std::size_t from_stride, void* to, std::size_t to_stride,
               std::size_t rows, std::size_t cols, std::size_t width) {
  const auto* source = static_cast<const std::byte*>(from);
  auto* target = static_cast<std::byte*>(to);
  switch (width) {
    case 1:
      return transpose_as<std::uint8_t>(source, from_stride, target, to_stride, rows, cols);
    case 2:
      return transpose_as<std::uint16_t>(source, from_stride, target, to_stride, rows, cols);
    default:
      return transpose_as<std::uint32_t>(source, from_stride, target, to_stride, rows, cols);
  }
}

}  // namespace zq
