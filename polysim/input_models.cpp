// Read operations of the simulation input for the models (groups 15-19).
#include <string>

#include "polysim/input_checks.h"
#include "polysim/input_groups.h"

namespace polysim {

namespace {

constexpr std::size_t kParameterNameWidth = 20;

// One parameter description: (name, m), (m values), (one choice per model).
void read_parameter(textio::FreeReader& in, ParameterDescription& param, const std::string& what,
                    std::int32_t model_count) {
  std::int32_t m = 0;
  param.name = std::string(kParameterNameWidth, ' ');
  in.begin();
  in.read(param.name, kParameterNameWidth, "name of " + what);
  in.read(m, "value count of " + what);
  check_value_count(what, m, model_count);
  param.values.assign(static_cast<std::size_t>(m), 0.0f);
  in.begin();
  for (std::int32_t k = 0; k < m; ++k)
    in.read(param.values[k], "value " + std::to_string(k + 1) + " of " + what);
  param.choice.assign(static_cast<std::size_t>(model_count), 1);
  in.begin();
  for (std::int32_t s = 0; s < model_count; ++s) {
    in.read(param.choice[s], "choice of model " + std::to_string(s + 1) + " of " + what);
    check_choice(what, s + 1, param.choice[s], m);
  }
}

void read_parameters(textio::FreeReader& in, std::vector<ParameterDescription>& params,
                     const char* kind, std::int32_t model_count) {
  for (std::size_t i = 0; i < params.size(); ++i)
    read_parameter(in, params[i], std::string(kind) + " parameter " + std::to_string(i + 1),
                   model_count);
}

void read_structure_shifts(textio::FreeReader& in, engine::ModelSet& models) {
  for (std::int32_t s = 1; s <= models.structure_count; ++s) {
    in.begin();
    for (std::int32_t a = 1; a <= models.displaced_atom_count; ++a) {
      const std::string where =
          " of atom " + std::to_string(a) + " in structure model " + std::to_string(s);
      engine::Shift& shift = models.shift(s, a);
      in.read(shift.dx, "dx" + where);
      in.read(shift.dy, "dy" + where);
      in.read(shift.dz, "dz" + where);
    }
  }
}

void read_vibration_amplitudes(textio::FreeReader& in, engine::ModelSet& models) {
  for (std::int32_t v = 1; v <= models.vibration_count; ++v) {
    in.begin();
    for (std::int32_t a = 1; a <= models.vibrated_atom_count; ++a)
      in.read(models.sigma(v, a), "vibration_sigma of atom " + std::to_string(a) +
                                      " in vibration model " + std::to_string(v));
  }
}

}  // namespace

void read_model_groups(textio::FreeReader& in, SimulationInput& input) {
  read_parameters(in, input.structure_params, "structure", input.models.structure_count);
  read_parameters(in, input.vibration_params, "vibration", input.models.vibration_count);
  read_structure_shifts(in, input.models);
  read_vibration_amplitudes(in, input.models);
  std::int32_t unused = 0;
  in.begin();
  in.read(unused, "final integer (group 19)");
}

}  // namespace polysim
