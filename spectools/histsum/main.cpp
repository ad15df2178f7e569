// histsum: stitches spectra into one spectrum covering their calibrated ranges.
#include "cli/standard_options.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/histsum/histsum.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "histsum")) return *answered;
  return spectools::run_tool([&] { return spectools::histsum::run(argc, argv); });
}
