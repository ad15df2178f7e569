// histcopy: complement copy of a spectrum (maximum - count), so that minima become peaks.
#include "cli/standard_options.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/histcopy/histcopy.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "histcopy")) return *answered;
  return spectools::run_tool([&] { return spectools::histcopy::run(argc, argv); });
}
