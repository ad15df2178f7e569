// Reading and writing attributes through checked HDF5 calls.
#include "zq/h5_attributes.h"

#include <memory>
#include <string>

#include "zq/h5_handle.h"

namespace zq::h5 {
namespace {

std::string action(const char* what, const char* name) {
  return std::string(what) + " attribute '" + name + "'";
}

// Element count of a simple or scalar attribute of integer class, or nothing.
std::optional<hssize_t> integer_elements(hid_t attribute, const char* name) {
  const Handle type = owned_type(H5Aget_type(attribute), action("typing", name));
  if (H5Tget_class(type.id()) != H5T_INTEGER) return std::nullopt;
  const Handle space = owned_space(H5Aget_space(attribute), action("shaping", name));
  const int rank = H5Sget_simple_extent_ndims(space.id());
  if (rank < 0 || rank > 1) return std::nullopt;
  const hssize_t count = H5Sget_simple_extent_npoints(space.id());
  if (count < 0) return std::nullopt;
  return count;
}

}  // namespace

bool has_attribute(hid_t object, const char* name) {
  return checked_test(H5Aexists(object, name), action("looking for", name));
}

void delete_attribute(hid_t object, const char* name) {
  checked(H5Adelete(object, name), action("deleting", name));
}

void write_int(hid_t object, const char* name, int value) {
  const Handle space = owned_space(H5Screate(H5S_SCALAR), action("shaping", name));
  const Handle attribute =
      owned_attribute(H5Acreate2(object, name, H5T_STD_I32LE, space.id(), H5P_DEFAULT, H5P_DEFAULT),
                      action("creating", name));
  checked(H5Awrite(attribute.id(), H5T_NATIVE_INT, &value), action("writing", name));
}

void write_ints(hid_t object, const char* name, std::span<const int> values) {
  const hsize_t size = values.size();
  const Handle space = owned_space(H5Screate_simple(1, &size, nullptr), action("shaping", name));
  const Handle attribute =
      owned_attribute(H5Acreate2(object, name, H5T_STD_I32LE, space.id(), H5P_DEFAULT, H5P_DEFAULT),
                      action("creating", name));
  checked(H5Awrite(attribute.id(), H5T_NATIVE_INT, values.data()), action("writing", name));
}

std::optional<int> read_int(hid_t object, const char* name) {
  auto values = read_ints(object, name);
  if (!values || values->size() != 1) return std::nullopt;
  return values->front();
}

std::optional<std::vector<int>> read_ints(hid_t object, const char* name) {
  if (!has_attribute(object, name)) return std::nullopt;
  const Handle attribute =
      owned_attribute(H5Aopen(object, name, H5P_DEFAULT), action("opening", name));
  const std::optional<hssize_t> count = integer_elements(attribute.id(), name);
  if (!count) return std::nullopt;
  std::vector<int> values(static_cast<std::size_t>(*count));
  checked(H5Aread(attribute.id(), H5T_NATIVE_INT, values.data()), action("reading", name));
  return values;
}

void write_text(hid_t object, const char* name, std::string_view text) {
  if (has_attribute(object, name)) delete_attribute(object, name);
  // HDF5 strings hold at least one byte; the empty text is stored as one NUL.
  std::string stored(text);
  if (stored.empty()) stored.push_back('\0');
  const Handle type = owned_type(H5Tcopy(H5T_C_S1), action("typing", name));
  checked(H5Tset_size(type.id(), stored.size()), action("sizing", name));
  checked(H5Tset_strpad(type.id(), H5T_STR_NULLPAD), action("padding", name));
  const Handle space = owned_space(H5Screate(H5S_SCALAR), action("shaping", name));
  const Handle attribute =
      owned_attribute(H5Acreate2(object, name, type.id(), space.id(), H5P_DEFAULT, H5P_DEFAULT),
                      action("creating", name));
  checked(H5Awrite(attribute.id(), type.id(), stored.data()), action("writing", name));
}

std::optional<std::string> read_text(hid_t object, const char* name) {
  if (!has_attribute(object, name)) return std::string();
  const Handle attribute =
      owned_attribute(H5Aopen(object, name, H5P_DEFAULT), action("opening", name));
  const Handle stored = owned_type(H5Aget_type(attribute.id()), action("typing", name));
  if (H5Tget_class(stored.id()) != H5T_STRING) return std::nullopt;
  const Handle space = owned_space(H5Aget_space(attribute.id()), action("shaping", name));
  if (H5Sget_simple_extent_npoints(space.id()) != 1) return std::nullopt;

  if (checked_test(H5Tis_variable_str(stored.id()), action("typing", name))) {
    const Handle memory = owned_type(H5Tcopy(H5T_C_S1), action("typing", name));
    checked(H5Tset_size(memory.id(), H5T_VARIABLE), action("sizing", name));
    char* text = nullptr;
    checked(H5Aread(attribute.id(), memory.id(), &text), action("reading", name));
    const std::unique_ptr<char, herr_t (*)(void*)> owner(text, H5free_memory);
    return std::string(text != nullptr ? text : "");
  }
  const std::size_t size = H5Tget_size(stored.id());
  const Handle memory = owned_type(H5Tcopy(H5T_C_S1), action("typing", name));
  checked(H5Tset_size(memory.id(), size + 1), action("sizing", name));
  checked(H5Tset_strpad(memory.id(), H5T_STR_NULLTERM), action("padding", name));
  std::string text(size + 1, '\0');
  checked(H5Aread(attribute.id(), memory.id(), text.data()), action("reading", name));
  text.resize(text.find('\0'));
  return text;
}

}  // namespace zq::h5
