// The embedded simulation run and its short result files.
#include "structfit/run_simulation.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "polysim/input_reader.h"
#include "polysim/prepared_run.h"
#include "polysim/progress_sink.h"
#include "polysim/result_check.h"
#include "polysim/result_names.h"
#include "polysim/result_signals.h"
#include "polysim/run_errors.h"
#include "polysim/simulate.h"
#include "structfit/fit_errors.h"
#include "textio/fixed_text.h"
#include "textio/format_writer.h"

namespace structfit {
namespace {

[[noreturn]] void refuse(const std::filesystem::path& file, const std::string& why) {
  throw SetupRefused(" " + file.string() + ": " + why);
}

polysim::PreparedRun read_and_prepare(const std::filesystem::path& input_path,
                                      const engine::FixedTables& tables) {
  // The reader's progress and abort lines have no place in the fitter's console: the reasons
  // of a refusal come back in the exceptions.
  polysim::SilentStatusLines silent;
  try {
    const polysim::SimulationInput input =
        polysim::read_simulation_input(input_path.string(), silent);
    return polysim::prepare_run(input, tables);
  } catch (const polysim::JobAborted& why) {
    refuse(input_path, why.what());
  } catch (const polysim::InvalidInput& why) {
    refuse(input_path, why.what());
  }
}

void write_short_file(const std::string& path, const polysim::PreparedRun& run,
                      const polysim::RunResults& results, std::int32_t s, std::int32_t v,
                      float deg_to_rad) {
  const polysim::SimulationInput& input = run.input;
  const polysim::ResultSignals signals =
      polysim::compute_result_signals(input.crystal, input.beam.atoms_per_layer, results, s, v);
  static const textio::Format line("(1X,F7.2,1X,6F7.3)");
  std::ofstream out(path, std::ios::trunc);
  for (std::int32_t j = 1; j <= results.angle_count(); ++j) {
    std::vector<textio::Value> values{
        input.beam.detection_angles.at(static_cast<std::size_t>(j - 1)) / deg_to_rad};
    for (std::int32_t t = 1; t <= signals.type_count; ++t)
      values.emplace_back(signals.element_at(t, j));
    out << line.write(values);
  }
  out.close();
  if (!out) refuse(path, "cannot write this result file");
}

}  // namespace

std::string short_result_path(std::string_view output_root, std::int32_t n) {
  char number[8];
  std::snprintf(number, sizeof number, ".%04d", static_cast<int>(n));
  return std::string(textio::trim_trailing(output_root)) + number;
}

void run_simulation(const std::filesystem::path& input_path, std::string_view output_root,
                    const engine::FixedTables& tables, std::int64_t seed, std::ostream& console) {
  polysim::LocalSimulator local;
  run_simulation(input_path, output_root, tables, seed, console, local);
}

void run_simulation(const std::filesystem::path& input_path, std::string_view output_root,
                    const engine::FixedTables& tables, std::int64_t seed, std::ostream& console,
                    polysim::Simulator& simulator) {
  const polysim::PreparedRun run = read_and_prepare(input_path, tables);
  polysim::ConsoleProgress progress(console);
  const polysim::RunResults results =
      simulator.simulate(input_path.string(), run, tables, {seed}, progress);
  try {
    polysim::check_results_finite(results);
  } catch (const polysim::InvalidInput& why) {
    refuse(input_path, why.what());
  }
  const std::int32_t vibrations = run.input.models.vibration_count;
  for (std::int32_t s = 1; s <= run.input.models.structure_count; ++s) {
    for (std::int32_t v = 1; v <= vibrations; ++v) {
      const std::int32_t n = polysim::result_number(s, v, vibrations);
      write_short_file(short_result_path(output_root, n), run, results, s, v, tables.deg_to_rad);
    }
  }
}

}  // namespace structfit
