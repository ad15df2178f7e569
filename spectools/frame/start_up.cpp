// Connecting a tool to its experiment store.
#include "spectools/frame/start_up.h"

#include <cstdlib>

#include "spectools/frame/failures.h"
#include "zq/zq.h"

namespace spectools {

void Session::readfailed() const {
  library_failed(fromspec);
}
void Session::writefailed() const {
  library_failed(tospec);
}

std::string connect_store() {
  const char* value = std::getenv("EXPERIMENTDIR");
  const std::string dir = value != nullptr ? value : "";
  const char* capabilities = dir.empty() ? "" : "capabilities";
  if (ZQsetExperimentPath(dir.c_str()) != 0) ZQcrash();
  if (ZQconnectExperiment(capabilities) != 0) ZQcrash();
  return dir;
}

Session start_up(int argc, const char* const* argv, const ToolUsage& usage) {
  Session session;
  session.dir = connect_store();
  check_argument_count(usage, argc);
  if (argc > 1) session.fromspec = argv[1];
  if (argc > 2) session.tospec = argv[2];
  return session;
}

}  // namespace spectools
