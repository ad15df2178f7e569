// monosim: single-model Monte-Carlo simulation of ion shadowing and blocking at a crystal
// surface with anisotropic and correlated thermal vibrations. Reads "monosim1.io" in the
// working directory; see README.md.
#include <iostream>

#include "cli/standard_options.h"
#include "monosim/run_monosim.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "monosim")) return *answered;
  monosim::LocalMonoSimulator local;
  return monosim::run_monosim_program(std::cout, local);
}
