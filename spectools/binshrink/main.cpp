// binshrink: sums adjacent energy channels of a detector spectrum by an integer factor (see
// README.md).
#include "cli/standard_options.h"
#include "spectools/binshrink/binshrink_tool.h"
#include "spectools/frame/tool_exit.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "binshrink")) return *answered;
  return spectools::run_tool([&] { return spectools::binshrink::run(argc, argv); });
}
