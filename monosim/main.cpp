// monosim: single-model Monte-Carlo simulation of ion shadowing and blocking at a crystal
// surface with anisotropic and correlated thermal vibrations. Reads "monosim1.io" in the
// working directory; see README.md.
#include <exception>
#include <iostream>

#include "cli/standard_options.h"
#include "monosim/input_reader.h"
#include "monosim/run_monosim.h"
#include "polysim/run_files.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "monosim")) return *answered;
  try {
    const polysim::RunFiles files = polysim::read_run_files(".", monosim::kPointerFile);
    monosim::run_monosim(files, std::cout);
    return 0;
  } catch (const monosim::RunStopped&) {
    // Its message is written.
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "monosim: " << error.what() << '\n';
  }
  return 1;
}
