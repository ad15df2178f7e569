// histcopy: complement copy of a spectrum (maximum - count), so that minima become peaks.
#include "spectools/frame/tool_exit.h"
#include "spectools/histcopy/histcopy.h"

int main(int argc, char** argv) {
  return spectools::run_tool([&] { return spectools::histcopy::run(argc, argv); });
}
