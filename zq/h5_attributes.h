// Attributes of an HDF5 object: integer scalars and arrays, and texts. Readers answer
// "nothing" for an attribute that is absent or not of the expected kind, so that callers
// can name the file in their error.
#pragma once

#include <hdf5.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zq::h5 {

bool has_attribute(hid_t object, const char* name);
void delete_attribute(hid_t object, const char* name);

// 32-bit little-endian integers: a scalar, or a one-dimensional array.
void write_int(hid_t object, const char* name, int value);
void write_ints(hid_t object, const char* name, std::span<const int> values);
std::optional<int> read_int(hid_t object, const char* name);
std::optional<std::vector<int>> read_ints(hid_t object, const char* name);

// A text stored as a fixed-length string of exactly its length (replacing any attribute of
// that name). Reading also accepts variable-length strings, as other HDF5 tools write them;
// an absent attribute reads as the empty text.
void write_text(hid_t object, const char* name, std::string_view text);
std::optional<std::string> read_text(hid_t object, const char* name);

}  // namespace zq::h5
