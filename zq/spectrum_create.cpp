// Writing a new spectrum file.
#include "zq/spectrum_create.h"

#include <filesystem>
#include <string>

#include "zq/error.h"
#include "zq/experiment.h"
#include "zq/file_layout.h"
#include "zq/h5_attributes.h"
#include "zq/h5_handle.h"
#include "zq/types.h"

namespace zq {
namespace {

void write_counts_dataset(hid_t file, const Description& description, const std::string& action) {
  hsize_t extent[ZQ_MAX_DIM] = {};
  for (int axis = 0; axis < description.dim; ++axis) extent[axis] = description.ranges[axis];
  const h5::Handle space =
      h5::owned_space(H5Screate_simple(description.dim, extent, nullptr), action);
  const h5::Handle properties = h5::owned_plist(H5Pcreate(H5P_DATASET_CREATE), action);
  const int zero = 0;  // unwritten channels read as 0 counts
  h5::checked(H5Pset_fill_value(properties.id(), H5T_NATIVE_INT, &zero), action);
  h5::Handle counts =
      h5::owned_dataset(H5Dcreate2(file, layout::kCounts, file_type(description.type), space.id(),
                                   H5P_DEFAULT, properties.id(), H5P_DEFAULT),
                        action);
  counts.close(action);
}

}  // namespace

void write_layout(hid_t file, const Description& description, const std::string& action) {
  write_counts_dataset(file, description, action);
  h5::write_ints(file, layout::kBases, {description.bases.data(), std::size_t(description.dim)});
  h5::write_int(file, layout::kLayout, description.layout);
  h5::write_int(file, layout::kType, description.type);
}

void create_spectrum(std::string_view name, const Description& description) {
  Experiment& store = experiment();
  const std::filesystem::path target = store.spectrum_path(name);
  check_type(description.type, "stored");
  if (auto fault = shape_fault(description, 2)) {
    throw Error(ZQ_EBADSHAPE, "cannot create spectrum '" + std::string(name) + "': " + *fault);
  }
  const std::string action = "creating spectrum '" + std::string(name) + "'";
  store.changes().start(name, target, [&](hid_t file) { write_layout(file, description, action); });
  store.changes().settle(name, true);
}

}  // namespace zq
