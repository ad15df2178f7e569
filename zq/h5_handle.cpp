// Ownership of HDF5 identifiers and conversion of HDF5 failures into zq::Error.
#include "zq/h5_handle.h"

#include <string>
#include <utility>

#include "zq/error.h"
#include "zq/zq.h"

namespace zq::h5 {
namespace {

// Collects the description of the innermost entry of HDF5's error stack: the place where
// the fault was found says most about it (file name, system error text).
herr_t keep_innermost(unsigned, const H5E_error2_t* entry, void* data) {
  auto* reason = static_cast<std::string*>(data);
  if (entry->desc != nullptr && entry->desc[0] != '\0') *reason = entry->desc;
  return 0;
}

// Set once a close has failed: see end_library().
bool& close_failed() {
  static bool failed = false;
  return failed;
}

herr_t close_id(Handle::Closer closer, hid_t id) noexcept {
  const herr_t status = closer(id);
  if (status < 0) close_failed() = true;
  return status;
}

}  // namespace

Error failure(std::string_view action) {
  std::string reason;
  H5Ewalk2(H5E_DEFAULT, H5E_WALK_DOWNWARD, keep_innermost, &reason);
  H5Eclear2(H5E_DEFAULT);
  std::string message = "HDF5 failure while ";
  message += action;
  if (!reason.empty()) message += ": " + reason;
  return Error(ZQ_EHDF5, message);
}

void start_library() {
  static const bool started = [] {
    H5dont_atexit();
    H5open();
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    return true;
  }();
  (void)started;
}

void end_library() {
  if (!close_failed()) H5close();
}

Handle::Handle(Handle&& other) noexcept
    : id_(std::exchange(other.id_, H5I_INVALID_HID)), closer_(other.closer_) {}

Handle& Handle::operator=(Handle&& other) noexcept {
  if (this != &other) {
    if (id_ >= 0) close_id(closer_, id_);
    id_ = std::exchange(other.id_, H5I_INVALID_HID);
    closer_ = other.closer_;
  }
  return *this;
}

Handle::~Handle() {
  // A failure here has no one to report to; paths that must know close explicitly first.
  if (id_ >= 0) close_id(closer_, id_);
}

void Handle::close(std::string_view action) {
  const hid_t id = std::exchange(id_, H5I_INVALID_HID);
  if (id >= 0) checked(close_id(closer_, id), action);
}

hid_t checked(hid_t id, std::string_view action) {
  if (id < 0) throw failure(action);
  return id;
}

void checked(herr_t status, std::string_view action) {
  if (status < 0) throw failure(action);
}

bool checked_test(htri_t answer, std::string_view action) {
  if (answer < 0) throw failure(action);
  return answer > 0;
}

Handle owned_file(hid_t id, std::string_view action) {
  return Handle(checked(id, action), H5Fclose);
}
Handle owned_dataset(hid_t id, std::string_view action) {
  return Handle(checked(id, action), H5Dclose);
}
Handle owned_space(hid_t id, std::string_view action) {
  return Handle(checked(id, action), H5Sclose);
}
Handle owned_type(hid_t id, std::string_view action) {
  return Handle(checked(id, action), H5Tclose);
}
Handle owned_attribute(hid_t id, std::string_view action) {
  return Handle(checked(id, action), H5Aclose);
}
Handle owned_plist(hid_t id, std::string_view action) {
  return Handle(checked(id, action), H5Pclose);
}

}  // namespace zq::h5
