// regioncopy: window copy of a spectrum to channel 0, with the calibration shifted along.
#include "cli/standard_options.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/regioncopy/regioncopy.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "regioncopy")) return *answered;
  return spectools::run_tool([&] { return spectools::regioncopy::run(argc, argv); });
}
