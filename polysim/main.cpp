// polysim: multi-model Monte-Carlo simulation of ion shadowing and blocking at a crystal
// surface. Reads "polysim1.io" in the working directory; see README.md.
#include <iostream>

#include "cli/standard_options.h"

#include "polysim/run_polysim.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "polysim")) return *answered;
  polysim::LocalSimulator local;
  return polysim::run_polysim_program(std::cout, local);
}
