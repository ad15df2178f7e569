// The fit program's sequence and the messages of its failures.
#include "structfit/fit_program.h"

#include <exception>
#include <string_view>

#include "structfit/base_crystal.h"
#include "structfit/fit_errors.h"
#include "structfit/fit_run.h"
#include "structfit/fit_setup.h"
#include "structfit/simulation_curves.h"
#include "textio/errors.h"
#include "textio/fixed_text.h"

namespace structfit {
namespace {

constexpr const char* kStopLine = "Stop - Program terminated.";

// Every base file is read once before any simulation, so that a file the set-up cannot be
// applied to stops the run at its start rather than after hours of fitting.
void check_base_files(const FitSetup& setup) {
  for (const DataSet& set : setup.data_sets) {
    const std::string path(textio::trim_trailing(set.base_path));
    check_base_against_setup(read_base_crystal(path), setup, path);
  }
}

// No argument starts a fit, "--resume" continues one.
bool resume_requested(int argc, const char* const* argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--resume") return true;
  if (argc > 1) throw SetupRefused(" usage: structfit [--resume]");
  return false;
}

}  // namespace

int run_structfit_program(int argc, const char* const* argv, std::ostream& console,
                          polysim::Simulator& simulator) {
  try {
    const bool resume = resume_requested(argc, argv);
    const FitSetup setup = read_fit_setup("bfgsin.dat", console);
    check_base_files(setup);
    run_fit(
        setup, resume,
        [&](std::int64_t seed) { return SimulationCurves(setup, seed, console, simulator); },
        console);
    console << kStopLine << '\n';
    return 0;
  } catch (const SetupRefused& refusal) {
    console << refusal.what() << '\n';
  } catch (const textio::ReadError& error) {
    console << ' ' << error.what() << '\n';
  } catch (const std::exception& error) {
    console << " structfit: " << error.what() << '\n';
  }
  console << kStopLine << '\n';
  return 1;
}

}  // namespace structfit
