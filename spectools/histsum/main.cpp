// histsum: stitches spectra into one spectrum covering their calibrated ranges.
#include "spectools/frame/tool_exit.h"
#include "spectools/histsum/histsum.h"

int main(int argc, char** argv) {
  return spectools::run_tool([&] { return spectools::histsum::run(argc, argv); });
}
