// histtext: one-dimensional spectrum to a text file, calibrated when it can be.
#include "cli/standard_options.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/histtext/histtext.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "histtext")) return *answered;
  return spectools::run_tool([&] { return spectools::histtext::run(argc, argv); });
}
