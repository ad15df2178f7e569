// Typed failure of the experiment store. Inside the library every fault is thrown as an
// Error carrying one of the ZQ_E* numbers of zq.h; the C entry points turn it into ZQerrno.
#pragma once

#include <stdexcept>
#include <string>

namespace zq {

class Error : public std::runtime_error {
 public:
  Error(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// Fixed text of an error number, used when no more specific message is at hand.
const char* generic_message(int code);

}  // namespace zq
