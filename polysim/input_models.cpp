// Read operations of the simulation input for the models (groups 15-19).
#include <string>

#include "polysim/input_checks.h"
#include "polysim/input_groups.h"
#include "polysim/input_values.h"

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
  in.begin();
  read_list(param.values, m, [&](float& value, std::int32_t k) {
    in.read(value, "value " + std::to_string(k + 1) + " of " + what);
  });
  in.begin();
  read_list(param.choice, model_count, [&](std::int32_t& choice, std::int32_t s) {
    choice = 1;
    in.read(choice, "choice of model " + std::to_string(s + 1) + " of " + what);
    check_choice(what, s + 1, choice, m);
  });
}

void read_parameters(textio::FreeReader& in, std::vector<ParameterDescription>& params,
                     std::int32_t count, const char* kind, std::int32_t model_count) {
  read_list(params, count, [&](ParameterDescription& param, std::int32_t i) {
    read_parameter(in, param, std::string(kind) + " parameter " + std::to_string(i + 1),
                   model_count);
  });
}

// Appended model by model, in the layout of ModelSet: (s, a) at (s - 1) N18 + a - 1.
void read_structure_shifts(textio::FreeReader& in, engine::ModelSet& models) {
  models.structure_shift.clear();
  for (std::int32_t s = 1; s <= models.structure_count; ++s) {
    in.begin();
    for (std::int32_t a = 1; a <= models.displaced_atom_count; ++a) {
      const std::string where =
          " of atom " + std::to_string(a) + " in structure model " + std::to_string(s);
      engine::Shift shift;
      in.read(shift.dx, "dx" + where);
      in.read(shift.dy, "dy" + where);
      in.read(shift.dz, "dz" + where);
      models.structure_shift.push_back(shift);
    }
  }
}

// Appended model by model: (v, a) at (v - 1) N19 + a - 1.
void read_vibration_amplitudes(textio::FreeReader& in, engine::ModelSet& models) {
  models.vibration_sigma.clear();
  for (std::int32_t v = 1; v <= models.vibration_count; ++v) {
    in.begin();
    for (std::int32_t a = 1; a <= models.vibrated_atom_count; ++a) {
      float sigma = 0.0f;
      in.read(sigma, "vibration_sigma of atom " + std::to_string(a) + " in vibration model " +
                         std::to_string(v));
      models.vibration_sigma.push_back(sigma);
    }
  }
}

}  // namespace

void read_model_groups(textio::FreeReader& in, SimulationInput& input) {
  read_parameters(in, input.structure_params, input.dims.n(12), "structure",
                  input.models.structure_count);
  read_parameters(in, input.vibration_params, input.dims.n(13), "vibration",
                  input.models.vibration_count);
  read_structure_shifts(in, input.models);
  read_vibration_amplitudes(in, input.models);
  std::int32_t unused = 0;
  in.begin();
  in.read(unused, "final integer (group 19)");
  check_model_values(input);
}

}  // namespace polysim
