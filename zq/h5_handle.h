// Thin RAII layer over HDF5's C interface: owned identifiers and checked calls whose
// failures become zq::Error with HDF5's own reason. HDF5's printing to stderr is silenced.
#pragma once

#include <hdf5.h>

#include <string_view>

#include "zq/error.h"

namespace zq::h5 {

// Opens the library once per process, turns off its automatic error printing and keeps
// HDF5 from ending itself at exit: end_library() does that.
void start_library();

// Closes the library, unless a file failed to close: HDF5 keeps such a file half torn down,
// and ending the library would touch it again and crash. The process then leaves HDF5 as it
// is; the operating system reclaims the rest.
void end_library();

// An owned HDF5 identifier, closed by its matching close function.
class Handle {
 public:
  using Closer = herr_t (*)(hid_t);

  Handle() = default;
  Handle(hid_t id, Closer closer) noexcept : id_(id), closer_(closer) {}
  Handle(Handle&& other) noexcept;
  Handle& operator=(Handle&& other) noexcept;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle();

  hid_t id() const { return id_; }
  // Closes now and reports a failure (a file close writes its last metadata).
  void close(std::string_view action);

 private:
  hid_t id_ = H5I_INVALID_HID;
  Closer closer_ = nullptr;
};

// ZQ_EHDF5 "HDF5 failure while <action>: <reason>", the reason taken from HDF5's error
// stack of the call that just failed (and cleared from it).
Error failure(std::string_view action);

// Throw that failure when the call failed.
hid_t checked(hid_t id, std::string_view action);
void checked(herr_t status, std::string_view action);
// For calls answering yes or no (htri_t).
bool checked_test(htri_t answer, std::string_view action);

// Wrap an identifier fresh from its HDF5 call; a failed call throws.
Handle owned_file(hid_t id, std::string_view action);
Handle owned_dataset(hid_t id, std::string_view action);
Handle owned_space(hid_t id, std::string_view action);
Handle owned_type(hid_t id, std::string_view action);
Handle owned_attribute(hid_t id, std::string_view action);
Handle owned_plist(hid_t id, std::string_view action);

}  // namespace zq::h5
