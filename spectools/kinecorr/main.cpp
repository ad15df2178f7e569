// kinecorr: corrects a detector spectrum for the elastic kinematic factor (see README.md).
#include "cli/standard_options.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/kinecorr/kinecorr_tool.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "kinecorr")) return *answered;
  return spectools::run_tool([&] { return spectools::kinecorr::run(argc, argv); });
}
