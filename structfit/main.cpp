// structfit: fits structure-model parameters of a crystal surface to measured blocking curves.
// Reads "bfgsin.dat" in the working directory; `structfit --resume` continues the fit from its
// restart dump. See README.md.
#include <iostream>

#include "cli/standard_options.h"

#include "structfit/fit_program.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "structfit")) return *answered;
  polysim::LocalSimulator local;
  return structfit::run_structfit_program(argc, argv, std::cout, local);
}
