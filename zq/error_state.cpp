// Error numbers, their fixed texts and the message of the latest failure.
#include "zq/error_state.h"

#include <string>

int ZQerrno = ZQ_OK;

namespace zq {
namespace {

std::string& latest_message() {
  static std::string message;
  return message;
}

}  // namespace

const char* generic_message(int code) {
  switch (code) {
    case ZQ_OK:
      return "no error";
    case ZQ_ENOTCONNECTED:
      return "experiment store not connected";
    case ZQ_ENOEXPERIMENT:
      return "no such experiment directory";
    case ZQ_EBADNAME:
      return "bad spectrum name";
    case ZQ_ENOSPECTRUM:
      return "no such spectrum";
    case ZQ_EEXTENT:
      return "block outside the spectrum's extent";
    case ZQ_EBADTYPE:
      return "bad type code";
    case ZQ_ECONVERT:
      return "value does not fit the element type";
    case ZQ_ERECORDLONG:
      return "record text longer than 255 characters";
    case ZQ_EBADRECORD:
      return "record number out of range";
    case ZQ_EBADSHAPE:
      return "bad spectrum shape";
    case ZQ_EBADARG:
      return "bad argument";
    case ZQ_EDAMAGED:
      return "damaged spectrum file";
    case ZQ_EHDF5:
      return "HDF5 failure";
    case ZQ_ESYSTEM:
      return "file system failure";
    case ZQ_ENOMEM:
      return "out of memory";
    default:
      return "unknown error";
  }
}

int record_failure(int code, const char* message) noexcept {
  ZQerrno = code;
  try {
    latest_message() = message;
  } catch (...) {
    // Keeping the detail needs memory; without it the fixed text still describes the fault.
    latest_message().clear();
  }
  return code;
}

const char* message_for(int code) noexcept {
  const std::string& latest = latest_message();
  if (code == ZQerrno && code != ZQ_OK && !latest.empty()) return latest.c_str();
  return generic_message(code);
}

}  // namespace zq

extern "C" const char* ZQerrorMessage(int error) {
  return zq::message_for(error);
}
