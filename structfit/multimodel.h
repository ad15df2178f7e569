// The model set around a trial point: one parameter stepped through NPTS values, as
// structure models (a displacement parameter) or vibration models (a vibration parameter),
// in the form of the multi-model groups of a simulation input file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "structfit/base_crystal.h"
#include "structfit/fit_setup.h"

namespace structfit {

struct ModelDescription {
  std::string name;                   // 20 columns
  std::vector<float> values;          // the parameter offset (or amplitude) of each model
  std::vector<std::int32_t> choices;  // model l uses value l
};

struct FitModels {
  std::int32_t structure_count = 1;                 // N10
  std::int32_t vibration_count = 1;                 // N11
  std::optional<ModelDescription> structure_param;  // N12 = 1 when present
  std::optional<ModelDescription> vibration_param;  // N13 = 1 when present
  std::int32_t last_moved_atom = 0;                 // N14
  std::int32_t last_vibrating_atom = 0;             // N15
  std::int32_t displaced_count = 1;                 // N18
  std::int32_t vibrated_count = 1;                  // N19
  // Shift of atom a in structure model s, Å, at (s - 1) * N18 + a - 1.
  std::vector<std::array<float, 3>> shifts;
  // Amplitude of atom a in vibration model v, Å, at (v - 1) * N19 + a - 1.
  std::vector<float> sigmas;
};

// A parameter moves atoms (a displacement parameter) when some row has a positive c1, c2 or
// c3; otherwise it sets amplitudes (a vibration parameter).
bool is_vibration_parameter(const FitParameter& parameter);

// Builds the models for `parameter` with `points` model points spaced by its step, the middle
// one unshifted. A displacement parameter moves each atom's listed position to the centre of
// its model positions; then every atom's three amplitude values become sqrt(u^2 + 0.8 d^2), u
// its largest amplitude over the models, d its largest model distance from the centre, so the
// tracked amplitude covers every model. A vibration parameter writes "naf" and its row count
// to `console`.
FitModels multimodel(BaseCrystal& crystal, const FitParameter& parameter, std::int32_t points,
                     std::ostream& console);

// Sets N10..N19 of the crystal's dimension record from the model set.
void set_model_counts(BaseCrystal& crystal, const FitModels& models);

}  // namespace structfit
