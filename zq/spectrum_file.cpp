// Opening a spectrum file and reading its description.
#include "zq/spectrum_file.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "zq/error.h"
#include "zq/experiment.h"
#include "zq/file_layout.h"
#include "zq/h5_attributes.h"
#include "zq/types.h"

namespace zq {

SpectrumFile::SpectrumFile(std::string_view name) : name_(name) {
  Experiment& store = experiment();
  const std::filesystem::path path = store.spectrum_path(name);
  path_ = path.string();
  if (const std::optional<hid_t> held = store.changes().find(name)) {
    file_id_ = *held;
  } else {
    open_placed();
  }
  read_description();
}

SpectrumFile::SpectrumFile(std::string_view name, hid_t file)
    : name_(name), path_(experiment().spectrum_path(name).string()), file_id_(file) {
  read_description();
}

void SpectrumFile::open_placed() {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path_, error);
  if (std::filesystem::is_symlink(status)) {
    // A link could lead a later replacement of the spectrum out of the store.
    throw Error(ZQ_EDAMAGED, "spectrum file '" + path_ +
                                 "' is a symbolic link; the store does not follow links");
  }
  if (!std::filesystem::is_regular_file(status)) {
    throw Error(ZQ_ENOSPECTRUM, "no such spectrum '" + name_ + "'");
  }
  const std::string opening = "opening spectrum file '" + path_ + "'";
  const hid_t id = H5Fopen(path_.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
  if (id < 0) {
    // Only now ask whether it is HDF5 at all: asking first would open every file twice.
    const Error failure = h5::failure(opening);
    if (!h5::checked_test(H5Fis_hdf5(path_.c_str()), opening)) damaged("not an HDF5 file");
    throw failure;
  }
  owned_file_ = h5::Handle(id, H5Fclose);
  file_id_ = id;
}

void SpectrumFile::close() {
  counts_.close("closing the counts of spectrum '" + name_ + "'");
  owned_file_.close("closing spectrum file '" + path_ + "'");
}

void SpectrumFile::damaged(const std::string& what) const {
  throw Error(ZQ_EDAMAGED, "spectrum file '" + path_ + "' is damaged: " + what);
}

void SpectrumFile::read_description() {
  const std::string reading = "reading spectrum '" + name_ + "'";
  if (!h5::checked_test(H5Lexists(file(), layout::kCounts, H5P_DEFAULT), reading)) {
    damaged("no counts dataset");
  }
  counts_ = h5::owned_dataset(H5Dopen2(file(), layout::kCounts, H5P_DEFAULT), reading);

  const h5::Handle space = h5::owned_space(H5Dget_space(counts()), reading);
  const int rank = H5Sget_simple_extent_ndims(space.id());
  if (rank < 1 || rank > ZQ_MAX_DIM) damaged("counts of rank " + std::to_string(rank));
  hsize_t extent[ZQ_MAX_DIM] = {};
  h5::checked(H5Sget_simple_extent_dims(space.id(), extent, nullptr), reading);

  const h5::Handle stored = h5::owned_type(H5Dget_type(counts()), reading);
  const std::optional<int> stored_code = type_code_of(stored.id());
  if (!stored_code) damaged("counts of an element type without a type code");

  const auto bases = h5::read_ints(file(), layout::kBases);
  if (!bases || bases->size() != static_cast<std::size_t>(rank)) damaged("bad bases");
  const auto layout_code = h5::read_int(file(), layout::kLayout);
  if (!layout_code) damaged("no layout code");
  const auto type_code = h5::read_int(file(), layout::kType);
  if (!type_code || *type_code != *stored_code) damaged("type code does not match the counts");

  description_.dim = rank;
  for (int axis = 0; axis < rank; ++axis) {
    if (extent[axis] > static_cast<hsize_t>(kMaxElements)) damaged("axis too long");
    description_.bases[axis] = (*bases)[axis];
    description_.ranges[axis] = static_cast<int>(extent[axis]);
  }
  description_.layout = *layout_code;
  description_.type = *type_code;
  if (auto fault = shape_fault(description_, ZQ_MAX_DIM)) damaged(*fault);
}

}  // namespace zq
