// The run of a fit: status.dat opened with the fit's seed, the minimizer started from the
// guesses (or resumed from its restart dump fort.69) with the evaluation drivers as its
// call-backs, and its report.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>

#include "structfit/domin_state.h"
#include "structfit/fit_drivers.h"
#include "structfit/fit_setup.h"

namespace structfit {

// Makes the source of the data sets' R-factor curves for a fit run with `seed`.
using CurveSourceMaker = std::function<CurveSource(std::int64_t seed)>;

// A fresh fit takes its seed from IONBEAM_SEED or the clock, removes a restart dump left by an
// earlier fit (a dump and status.dat always belong to one fit), creates status.dat with
// "Starting Search" and the seed, and starts the minimizer from the guesses. A resumed fit
// takes the seed from the last seed line of status.dat, continues the evaluation counts of
// the dump, appends "Resuming Search" and the seed to status.dat, and continues the
// minimizer from fort.69. Throws SetupRefused when there is nothing to resume or IONBEAM_SEED
// contradicts the fit's seed, RestartFileError for a dump that does not fit the set-up.
MinimizerState run_fit(const FitSetup& setup, bool resume, const CurveSourceMaker& make_source,
                       std::ostream& console);

// The seed of the last " Random seed:" line of a status file. Throws SetupRefused when the
// file has none.
std::int64_t recover_seed(const std::string& status_path);

}  // namespace structfit
