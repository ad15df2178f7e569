// Widths, names and HDF5 types of the element type codes.
#include "zq/types.h"

#include <string>

#include "zq/error.h"

namespace zq {

bool valid_type(int code) {
  return code >= 0 && code < kTypeCount;
}

void check_type(int code, std::string_view role) {
  if (!valid_type(code)) {
    throw Error(ZQ_EBADTYPE, "bad " + std::string(role) + " type code " + std::to_string(code) +
                                 " (valid codes are 0 to 6)");
  }
}

std::size_t type_width(int code) {
  return with_type(code, []<class T>(std::type_identity<T>) { return sizeof(T); });
}

const char* type_name(int code) {
  static constexpr const char* kNames[kTypeCount] = {"int8",  "uint8",  "int16",  "uint16",
                                                     "int32", "uint32", "float32"};
  return valid_type(code) ? kNames[code] : "unknown";
}

hid_t file_type(int code) {
  switch (code) {
    case ZQ_INT8:
      return H5T_STD_I8LE;
    case ZQ_UINT8:
      return H5T_STD_U8LE;
    case ZQ_INT16:
      return H5T_STD_I16LE;
    case ZQ_UINT16:
      return H5T_STD_U16LE;
    case ZQ_INT32:
      return H5T_STD_I32LE;
    case ZQ_UINT32:
      return H5T_STD_U32LE;
    default:
      return H5T_IEEE_F32LE;
  }
}

hid_t memory_type(int code) {
  return with_type(code, []<class T>(std::type_identity<T>) -> hid_t {
    if constexpr (std::is_same_v<T, std::int8_t>) return H5T_NATIVE_INT8;
    if constexpr (std::is_same_v<T, std::uint8_t>) return H5T_NATIVE_UINT8;
    if constexpr (std::is_same_v<T, std::int16_t>) return H5T_NATIVE_INT16;
    if constexpr (std::is_same_v<T, std::uint16_t>) return H5T_NATIVE_UINT16;
    if constexpr (std::is_same_v<T, std::int32_t>) return H5T_NATIVE_INT32;
    if constexpr (std::is_same_v<T, std::uint32_t>) return H5T_NATIVE_UINT32;
    return H5T_NATIVE_FLOAT;
  });
}

std::optional<int> type_code_of(hid_t type) {
  const std::size_t size = H5Tget_size(type);
  switch (H5Tget_class(type)) {
    case H5T_FLOAT:
      if (size == 4) return ZQ_FLOAT32;
      return std::nullopt;
    case H5T_INTEGER: {
      const int unsigned_offset = H5Tget_sign(type) == H5T_SGN_NONE ? 1 : 0;
      if (size == 1) return ZQ_INT8 + unsigned_offset;
      if (size == 2) return ZQ_INT16 + unsigned_offset;
      if (size == 4) return ZQ_INT32 + unsigned_offset;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace zq
