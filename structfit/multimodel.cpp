// Building the structure or vibration models of one parameter and the tracked amplitudes
// that cover them.
#include "structfit/multimodel.h"

#include <algorithm>
#include <cmath>

#include "textio/free_writer.h"

namespace structfit {
namespace {

constexpr float kDisplacementWeight = 0.8f;  // share of d^2 added to the tracked amplitude^2

using Shift = std::array<float, 3>;

// Per model point l (rows) and atom k (columns), all atoms of the crystal.
template <typename T>
using ModelTable = std::vector<std::vector<T>>;

std::vector<float> model_offsets(std::int32_t points, float step) {
  const std::int32_t half = (points - 1) / 2;
  std::vector<float> offsets;
  for (std::int32_t l = 1; l <= points; ++l)
    offsets.push_back(static_cast<float>(l - 1 - half) * step);
  return offsets;
}

ModelDescription describe(const FitParameter& parameter, const std::vector<float>& values) {
  ModelDescription d{parameter.name, values, {}};
  for (std::size_t l = 1; l <= values.size(); ++l)
    d.choices.push_back(static_cast<std::int32_t>(l));
  return d;
}

bool moves_atom(const ParameterRow& c) {
  return c[0] != 0.0f || c[1] != 0.0f || c[2] != 0.0f;
}

bool sets_amplitude(const ParameterRow& c) {
  return c[3] > 0.0f || c[4] > 0.0f || c[5] > 0.0f;
}

// Highest atom number (1-based) whose value differs between the models, 0 when none does.
template <typename T>
std::int32_t last_varying_atom(const ModelTable<T>& table) {
  for (std::size_t k = table[0].size(); k > 0; --k) {
    for (const std::vector<T>& model : table) {
      if (model[k - 1] != table[0][k - 1]) return static_cast<std::int32_t>(k);
    }
  }
  return 0;
}

// Model shifts o_l * (c1, c2, c3) of the atoms that take part, made relative to the centre of
// each atom's model positions, which becomes its listed position.
ModelTable<Shift> centred_shifts(BaseCrystal& crystal, const FitParameter& parameter,
                                 const std::vector<float>& offsets) {
  const std::size_t atoms = crystal.atoms.size();
  ModelTable<Shift> shifts(offsets.size(), std::vector<Shift>(atoms, Shift{}));
  for (std::size_t k = 0; k < parameter.rows.size(); ++k) {
    const ParameterRow& c = parameter.rows[k];
    if (!moves_atom(c)) continue;
    for (int a = 0; a < 3; ++a) {
      float low = 0.0f, high = 0.0f;
      for (std::size_t l = 0; l < offsets.size(); ++l) {
        const float d = offsets[l] * c[a];
        shifts[l][k][a] = d;
        low = l == 0 ? d : std::min(low, d);
        high = l == 0 ? d : std::max(high, d);
      }
      const float centre = (low + high) * 0.5f;
      crystal.atoms[k].position[a] += centre;
      for (std::vector<Shift>& model : shifts) model[k][a] -= centre;
    }
  }
  return shifts;
}

// Model amplitudes: w_k + o_l for the atoms that take part (w_k the ninth value of the atom
// record), the atom's rms amplitude for all others.
ModelTable<float> model_sigmas(const BaseCrystal& crystal, const FitParameter& parameter,
                               const std::vector<float>& offsets) {
  ModelTable<float> sigmas(offsets.size());
  for (std::size_t l = 0; l < offsets.size(); ++l) {
    for (std::size_t k = 0; k < crystal.atoms.size(); ++k) {
      const BaseAtom& atom = crystal.atoms[k];
      const bool takes = k < parameter.rows.size() && sets_amplitude(parameter.rows[k]);
      sigmas[l].push_back(takes ? atom.amplitude[2] + offsets[l] : atom.amplitude[0]);
    }
  }
  return sigmas;
}

// The amplitude value the description of the vibration models starts from: the ninth value
// of the last atom that takes part, or of the crystal's last atom when none does.
float described_amplitude(const BaseCrystal& crystal, const FitParameter& parameter) {
  float base = crystal.atoms.back().amplitude[2];
  for (std::size_t k = 0; k < parameter.rows.size(); ++k) {
    if (sets_amplitude(parameter.rows[k])) base = crystal.atoms[k].amplitude[2];
  }
  return base;
}

// Every atom's three amplitude values become sqrt(u^2 + 0.8 d^2).
void cover_models(BaseCrystal& crystal, const ModelTable<Shift>& shifts,
                  const ModelTable<float>& sigmas) {
  for (std::size_t k = 0; k < crystal.atoms.size(); ++k) {
    BaseAtom& atom = crystal.atoms[k];
    float u = atom.amplitude[0];
    for (const std::vector<float>& model : sigmas) u = std::max(u, model[k]);
    float d2 = 0.0f;
    for (const std::vector<Shift>& model : shifts) {
      const Shift& s = model[k];
      d2 = std::max(d2, s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    }
    const float tracked = std::sqrt(u * u + kDisplacementWeight * d2);
    atom.amplitude = {tracked, tracked, tracked};
  }
}

}  // namespace

bool is_vibration_parameter(const FitParameter& parameter) {
  return std::none_of(parameter.rows.begin(), parameter.rows.end(), [](const ParameterRow& c) {
    return c[0] > 0.0f || c[1] > 0.0f || c[2] > 0.0f;
  });
}

FitModels multimodel(BaseCrystal& crystal, const FitParameter& parameter, std::int32_t points,
                     std::ostream& console) {
  const std::vector<float> offsets = model_offsets(points, parameter.step);
  const bool vibration = is_vibration_parameter(parameter);
  FitModels models;
  ModelTable<Shift> shifts(1, std::vector<Shift>(crystal.atoms.size(), Shift{}));
  ModelTable<float> sigmas;
  if (vibration) {
    console
        << (textio::FreeLine() << "naf" << static_cast<std::int32_t>(parameter.rows.size())).str();
    const float base = described_amplitude(crystal, parameter);
    std::vector<float> values;
    for (float o : offsets) values.push_back(base + o);
    models.vibration_count = points;
    models.vibration_param = describe(parameter, values);
    sigmas = model_sigmas(crystal, parameter, offsets);
  } else {
    models.structure_count = points;
    models.structure_param = describe(parameter, offsets);
    shifts = centred_shifts(crystal, parameter, offsets);
    sigmas = model_sigmas(crystal, FitParameter{}, {0.0f});
  }
  models.last_moved_atom = last_varying_atom(shifts);
  models.last_vibrating_atom = last_varying_atom(sigmas);
  models.displaced_count = std::max(models.last_moved_atom, 1);
  models.vibrated_count = std::max(models.displaced_count, models.last_vibrating_atom);
  for (const std::vector<Shift>& model : shifts) {
    models.shifts.insert(models.shifts.end(), model.begin(),
                         model.begin() + models.displaced_count);
  }
  for (const std::vector<float>& model : sigmas) {
    models.sigmas.insert(models.sigmas.end(), model.begin(), model.begin() + models.vibrated_count);
  }
  cover_models(crystal, shifts, sigmas);
  return models;
}

void set_model_counts(BaseCrystal& crystal, const FitModels& models) {
  const std::int32_t structure_params = models.structure_param ? 1 : 0;
  const std::int32_t vibration_params = models.vibration_param ? 1 : 0;
  crystal.n(10) = models.structure_count;
  crystal.n(11) = models.vibration_count;
  crystal.n(12) = structure_params;
  crystal.n(13) = vibration_params;
  crystal.n(14) = models.last_moved_atom;
  crystal.n(15) = models.last_vibrating_atom;
  crystal.n(16) = std::max(structure_params, 1);
  crystal.n(17) = std::max(vibration_params, 1);
  crystal.n(18) = models.displaced_count;
  crystal.n(19) = models.vibrated_count;
}

}  // namespace structfit
