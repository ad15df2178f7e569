// Fresh start or resume of a fit, and the one seed all its simulations share.
#include "structfit/fit_run.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/run_seed.h"
#include "structfit/domin.h"
#include "structfit/domin_dump.h"
#include "structfit/fit_errors.h"
#include "textio/free_writer.h"

namespace structfit {
namespace {

constexpr const char* kSeedLabel = "Random seed:";
const FitLogFiles kFiles;
const DominOptions kDefaults;

std::string seed_line(std::int64_t seed) {
  return (textio::FreeLine{} << kSeedLabel << seed).str();
}

std::int64_t fresh_seed() {
  const std::int64_t seed = engine::run_seed();
  std::filesystem::remove(kDefaults.restart_file);
  write_log(kFiles.status, (textio::FreeLine{} << "Starting Search").str() + seed_line(seed),
            false);
  return seed;
}

// Every objective and gradient call of the minimizer is one evaluation, so the call counts of
// the dump continue the numbering in status.dat.
struct Counts {
  std::int32_t functions = 0;
  std::int32_t gradients = 0;
};

Counts dumped_counts(int n) {
  if (!std::filesystem::exists(kDefaults.restart_file))
    throw SetupRefused(" no restart file " + kDefaults.restart_file + ": nothing to resume");
  std::vector<float> scale;
  const MinimizerState dumped = read_restart_file(kDefaults.restart_file, n, scale);
  return {dumped.function_calls, dumped.gradient_calls};
}

std::int64_t resumed_seed() {
  const std::int64_t seed = recover_seed(kFiles.status);
  const auto fixed = engine::seed_from_environment();
  if (fixed && *fixed != seed) {
    throw SetupRefused(" " + std::string(engine::kSeedVariable) + "=" + std::to_string(*fixed) +
                       " differs from the fit's seed " + std::to_string(seed) + " in " +
                       kFiles.status + "; unset it to resume");
  }
  write_log(kFiles.status, (textio::FreeLine{} << "Resuming Search").str() + seed_line(seed), true);
  return seed;
}

}  // namespace

std::int64_t recover_seed(const std::string& status_path) {
  const std::string label = std::string(" ") + kSeedLabel;
  std::ifstream in(status_path);
  std::string line, found;
  while (std::getline(in, line)) {
    if (line.starts_with(label)) found = line;
  }
  if (found.empty())
    throw SetupRefused(" no seed line in " + status_path + ": cannot resume this fit");
  const std::string_view text = std::string_view(found).substr(label.size());
  const std::size_t begin = std::min(text.find_first_not_of(' '), text.size());
  return engine::parse_seed(text.substr(begin, text.find_last_not_of(' ') + 1 - begin));
}

MinimizerState run_fit(const FitSetup& setup, bool resume, const CurveSourceMaker& make_source,
                       std::ostream& console) {
  std::vector<float> x;
  for (const FitParameter& p : setup.parameters) x.push_back(p.guess);
  const Counts counts = resume ? dumped_counts(static_cast<int>(x.size())) : Counts{};
  const std::int64_t seed = resume ? resumed_seed() : fresh_seed();
  FitDrivers drivers(setup, make_source(seed), console, kFiles);
  drivers.set_counters(counts.functions, counts.gradients);
  DominOptions options;
  options.tolerance = setup.relative_tolerance;
  options.scale_variables = true;  // the set-up's scaling option is echoed only
  options.resume = resume;
  return domin(x, drivers.callbacks(), options, console);
}

}  // namespace structfit
