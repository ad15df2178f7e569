// regioncopy: window copy of a spectrum to channel 0, with the calibration shifted along.
#include "spectools/frame/tool_exit.h"
#include "spectools/regioncopy/regioncopy.h"

int main(int argc, char** argv) {
  return spectools::run_tool([&] { return spectools::regioncopy::run(argc, argv); });
}
