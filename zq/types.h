// Element type codes 0..6 (int8, uint8, int16, uint16, int32, uint32, float32): their
// widths, names and HDF5 types, and a dispatcher from a code to its C++ type.
#pragma once

#include <hdf5.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

#include "zq/zq.h"

namespace zq {

inline constexpr int kTypeCount = 7;

bool valid_type(int code);
// Throws ZQ_EBADTYPE when `code` is not 0..6; `role` says whose code it is.
void check_type(int code, std::string_view role);

std::size_t type_width(int code);
const char* type_name(int code);
// Little-endian standard type stored in files, and the native type of callers' buffers.
hid_t file_type(int code);
hid_t memory_type(int code);
// Type code of a stored HDF5 type, or nothing when no code describes it.
std::optional<int> type_code_of(hid_t type);

// Calls `f(std::type_identity<T>{})` with the C++ element type of a valid code.
template <class F>
decltype(auto) with_type(int code, F&& f) {
  switch (code) {
    case ZQ_INT8:
      return f(std::type_identity<std::int8_t>{});
    case ZQ_UINT8:
      return f(std::type_identity<std::uint8_t>{});
    case ZQ_INT16:
      return f(std::type_identity<std::int16_t>{});
    case ZQ_UINT16:
      return f(std::type_identity<std::uint16_t>{});
    case ZQ_INT32:
      return f(std::type_identity<std::int32_t>{});
    case ZQ_UINT32:
      return f(std::type_identity<std::uint32_t>{});
    default:
      return f(std::type_identity<float>{});
  }
}

}  // namespace zq
