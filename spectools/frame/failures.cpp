// Messages of the error helpers.
#include "spectools/frame/failures.h"

#include <string>

#include "spectools/frame/tool_exit.h"
#include "zq/names.h"
#include "zq/zq.h"

namespace spectools {
namespace {

constexpr int kFailure = 1;

}  // namespace

void library_failed(std::string_view spectrum) {
  // A refused name may hold control characters; escaped, the message stays one line.
  throw ToolExit(
      kFailure, std::string(ZQerrorMessage(ZQerrno)) + ": " + zq::escape_controls(spectrum) + "\n");
}

void notimplemented(std::string_view text) {
  throw ToolExit(kFailure, "not implemented: " + std::string(text) + "\n");
}

void ZQcrash() {
  throw ToolExit(kFailure, std::string(ZQerrorMessage(ZQerrno)) + "\n");
}

void crash(std::string_view text) {
  throw ToolExit(kFailure, std::string(text) + "\n");
}

}  // namespace spectools
