// polysim: multi-model Monte-Carlo simulation of ion shadowing and blocking at a crystal
// surface. Reads "polysim1.io" in the working directory; see README.md.
#include <exception>
#include <iostream>
#include "cli/standard_options.h"

#include "polysim/run_errors.h"
#include "polysim/run_files.h"
#include "polysim/run_polysim.h"

namespace {

constexpr const char* kStopLine = "Stop - Program terminated.";

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "polysim")) return *answered;
  try {
    const polysim::RunFiles files = polysim::read_run_files();
    polysim::run_polysim(files, std::cout);
    std::cout << kStopLine << '\n';
    return 0;
  } catch (const polysim::JobAborted&) {
    std::cout << kStopLine << '\n';
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "polysim: " << error.what() << '\n';
  }
  return 1;
}
