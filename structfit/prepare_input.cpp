// The preparation chain: read, alter, build the models, write.
#include "structfit/prepare_input.h"

#include <fstream>

#include "structfit/alter_crystal.h"
#include "structfit/base_crystal.h"
#include "structfit/fit_errors.h"
#include "structfit/input_writer.h"
#include "structfit/multimodel.h"
#include "textio/free_writer.h"

namespace structfit {
namespace {

void say(std::ostream& console, const char* text) {
  console << (textio::FreeLine() << text).str();
}

// The parameter's number, its row count and its first coefficient (0 for an empty table).
void show_parameter(std::ostream& console, std::int32_t index, const FitParameter& parameter) {
  const float first = parameter.rows.empty() ? 0.0f : parameter.rows.front()[0];
  console << (textio::FreeLine() << index).str();
  console << (textio::FreeLine() << static_cast<std::int32_t>(parameter.rows.size())).str();
  console << (textio::FreeLine() << first).str();
}

}  // namespace

std::int32_t prepare_simulation_input(const FitSetup& setup, const std::vector<float>& values,
                                      std::int32_t index, const std::filesystem::path& base_path,
                                      const std::filesystem::path& input_path,
                                      std::ostream& console) {
  if (index < 1 || index > static_cast<std::int32_t>(setup.parameters.size())) {
    throw SetupRefused(" no fit parameter " + std::to_string(index));
  }
  BaseCrystal crystal = read_base_crystal(base_path);
  check_base_against_setup(crystal, setup, base_path);
  say(console, "Readin all");
  alter_crystal(crystal, setup.parameters, values);
  say(console, "Crystal Altered");
  say(console, "Crystal Altered");
  const FitParameter& parameter = setup.parameters[static_cast<std::size_t>(index - 1)];
  show_parameter(console, index, parameter);
  say(console, "Crystal Altered");
  say(console, "Calling multimodel");
  const FitModels models = multimodel(crystal, parameter, setup.point_count, console);
  say(console, "multimodel called");
  set_model_counts(crystal, models);
  crystal.flags[7] = 1;
  std::ofstream out(input_path, std::ios::trunc);
  if (!out) throw SetupRefused(" cannot write " + input_path.string());
  write_simulation_input(crystal, models, out, console);
  out.close();
  if (!out) throw SetupRefused(" cannot write " + input_path.string());
  return crystal.n(9);
}

}  // namespace structfit
