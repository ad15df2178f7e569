// structfit: fits structure-model parameters of a crystal surface to measured blocking curves.
// Reads "bfgsin.dat" in the working directory; `structfit --resume` continues the fit from its
// restart dump. See README.md.
#include <exception>
#include <iostream>
#include <string_view>

#include "cli/standard_options.h"

#include "structfit/base_crystal.h"
#include "structfit/fit_errors.h"
#include "structfit/fit_run.h"
#include "structfit/fit_setup.h"
#include "structfit/simulation_curves.h"
#include "textio/errors.h"
#include "textio/fixed_text.h"

namespace {

constexpr const char* kStopLine = "Stop - Program terminated.";

// Every base file is read once before any simulation, so that a file the set-up cannot be
// applied to stops the run at its start rather than after hours of fitting.
void check_base_files(const structfit::FitSetup& setup) {
  for (const structfit::DataSet& set : setup.data_sets) {
    const std::string path(textio::trim_trailing(set.base_path));
    structfit::check_base_against_setup(structfit::read_base_crystal(path), setup, path);
  }
}

// No argument starts a fit, "--resume" continues one.
bool resume_requested(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--resume") return true;
  if (argc > 1) throw structfit::SetupRefused(" usage: structfit [--resume]");
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "structfit")) return *answered;
  try {
    const bool resume = resume_requested(argc, argv);
    const structfit::FitSetup setup = structfit::read_fit_setup("bfgsin.dat", std::cout);
    check_base_files(setup);
    structfit::run_fit(
        setup, resume,
        [&](std::int64_t seed) { return structfit::SimulationCurves(setup, seed, std::cout); },
        std::cout);
    std::cout << kStopLine << '\n';
    return 0;
  } catch (const structfit::SetupRefused& refusal) {
    std::cout << refusal.what() << '\n';
  } catch (const textio::ReadError& error) {
    std::cout << ' ' << error.what() << '\n';
  } catch (const std::exception& error) {
    std::cout << " structfit: " << error.what() << '\n';
  }
  std::cout << kStopLine << '\n';
  return 1;
}
