// binshrink: sums adjacent energy channels of a detector spectrum by an integer factor (see
// README.md).
#include "spectools/binshrink/binshrink_tool.h"
#include "spectools/frame/tool_exit.h"

int main(int argc, char** argv) {
  return spectools::run_tool([&] { return spectools::binshrink::run(argc, argv); });
}
