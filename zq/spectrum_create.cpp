// Writing a new spectrum file and putting it in place.
#include "zq/spectrum_create.h"

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "zq/error.h"
#include "zq/experiment.h"
#include "zq/file_layout.h"
#include "zq/h5_attributes.h"
#include "zq/h5_handle.h"
#include "zq/types.h"

namespace zq {
namespace {

// A partly written file, removed unless it is renamed into place.
class PartFile {
 public:
  explicit PartFile(const std::filesystem::path& target) : path_(target.parent_path()) {
    // Hidden and unique to this process: never a spectrum name, never another's part file.
    std::string name(".");
    name += target.filename().string();
    name += '.';
    name += std::to_string(getpid());
    name += ".part";
    path_ /= name;
  }
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;
  ~PartFile() {
    std::error_code ignored;
    if (!placed_) std::filesystem::remove(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }

  void place_as(const std::filesystem::path& target) {
    std::error_code error;
    std::filesystem::rename(path_, target, error);
    if (error) {
      throw Error(ZQ_ESYSTEM, "cannot put spectrum file '" + target.string() +
                                  "' in place: " + error.message());
    }
    placed_ = true;
  }

 private:
  std::filesystem::path path_;
  bool placed_ = false;
};

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

void create_spectrum(std::string_view name, const Description& description) {
  h5::start_library();
  const std::filesystem::path target = experiment().spectrum_path(name);
  check_type(description.type, "stored");
  if (auto fault = shape_fault(description, 2)) {
    throw Error(ZQ_EBADSHAPE, "cannot create spectrum '" + std::string(name) + "': " + *fault);
  }
  PartFile part(target);
  const std::string action = "creating spectrum file '" + part.path().string() + "'";
  h5::Handle file = h5::owned_file(
      H5Fcreate(part.path().c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT), action);
  write_counts_dataset(file.id(), description, action);
  h5::write_ints(file.id(), layout::kBases,
                 {description.bases.data(), std::size_t(description.dim)});
  h5::write_int(file.id(), layout::kLayout, description.layout);
  h5::write_int(file.id(), layout::kType, description.type);
  file.close(action);
  part.place_as(target);
}

}  // namespace zq
