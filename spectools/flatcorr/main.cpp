// flatcorr: corrects a detector spectrum for the parabolic sensitivity along the energy axis
// (see README.md).
#include "cli/standard_options.h"
#include "spectools/flatcorr/flatcorr_tool.h"
#include "spectools/frame/tool_exit.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "flatcorr")) return *answered;
  return spectools::run_tool([&] { return spectools::flatcorr::run(argc, argv); });
}
