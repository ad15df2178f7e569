// The single place where a tool's output meets standard output and its exit status, and
// where the spectra it wrote are put in place: only a tool that succeeds replaces any.
#include <cstdio>
#include <new>

#include "spectools/frame/tool_exit.h"
#include "zq/zq.h"

namespace spectools {
namespace {

int finish(const std::string& output, int status) {
  std::fwrite(output.data(), 1, output.size(), stdout);
  if (std::fflush(stdout) != 0 && status == 0) return 1;
  return status;
}

// The tool's result once its spectra are placed: they stay hidden while it runs, so that a
// tool stopped by a failure or a signal leaves every spectrum as it was.
int placed(const std::string& output) {
  if (ZQfinishChanges(1) != 0) return finish(std::string(ZQerrorMessage(ZQerrno)) + "\n", 1);
  return finish(output, 0);
}

int failed(const std::string& output, int status) {
  ZQfinishChanges(0);
  return finish(output, status);
}

}  // namespace

int run_tool(const std::function<std::string()>& body) {
  ZQholdChanges();
  try {
    return placed(body());
  } catch (const ToolExit& exit) {
    return failed(exit.output(), exit.status());
  } catch (const std::bad_alloc&) {
    return failed("out of memory\n", 1);
  } catch (const std::exception& error) {
    return failed(std::string(error.what()) + "\n", 1);
  }
}

}  // namespace spectools
