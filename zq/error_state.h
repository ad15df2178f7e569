// Process-wide error state behind ZQerrno and ZQerrorMessage, and the guard that keeps
// exceptions from crossing the C interface.
#pragma once

#include <exception>
#include <new>
#include <string>

#include "zq/error.h"
#include "zq/zq.h"

namespace zq {

// Records a failure (number and its specific message) and returns the number.
int record_failure(int code, const char* message) noexcept;

// Message for ZQerrorMessage: the specific one when `code` is the latest failure's number.
const char* message_for(int code) noexcept;

// A spectrum name handed through the C interface; a null pointer is a bad argument.
inline std::string name_argument(const char* name) {
  if (name == nullptr) throw Error(ZQ_EBADARG, "null spectrum name");
  return name;
}

// Runs `body`; returns 0, or the error number after recording the failure.
template <class Body>
int guarded(Body&& body) noexcept {
  try {
    body();
    return ZQ_OK;
  } catch (const Error& error) {
    return record_failure(error.code(), error.what());
  } catch (const std::bad_alloc&) {
    return record_failure(ZQ_ENOMEM, "out of memory");
  } catch (const std::exception& error) {
    return record_failure(ZQ_ESYSTEM, error.what());
  }
}

}  // namespace zq
