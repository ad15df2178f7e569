// The single place where a tool's output meets standard output and its exit status.
#include <cstdio>
#include <new>

#include "spectools/frame/tool_exit.h"

namespace spectools {
namespace {

int finish(const std::string& output, int status) {
  std::fwrite(output.data(), 1, output.size(), stdout);
  if (std::fflush(stdout) != 0 && status == 0) return 1;
  return status;
}

}  // namespace

int run_tool(const std::function<std::string()>& body) {
  try {
    return finish(body(), 0);
  } catch (const ToolExit& exit) {
    return finish(exit.output(), exit.status());
  } catch (const std::bad_alloc&) {
    return finish("out of memory\n", 1);
  } catch (const std::exception& error) {
    return finish(std::string(error.what()) + "\n", 1);
  }
}

}  // namespace spectools
