// Applying the parameter tables to the atoms of a base crystal.
#include "structfit/alter_crystal.h"

#include <cmath>
#include <string>

#include "structfit/fit_errors.h"
#include "structfit/regroup_planes.h"

namespace structfit {
namespace {

void apply_row(BaseAtom& atom, const ParameterRow& c, float p) {
  for (int a = 0; a < 3; ++a) {
    if (std::fabs(c[a]) > 0.0f) atom.position[a] += c[a] * p;
    if (c[3 + a] > 0.0f) atom.amplitude[a] = c[3 + a] * p;
  }
}

bool all_finite(const BaseAtom& atom) {
  for (int a = 0; a < 3; ++a) {
    if (!std::isfinite(atom.position[a]) || !std::isfinite(atom.amplitude[a])) return false;
  }
  return true;
}

}  // namespace

void alter_crystal(BaseCrystal& crystal, const std::vector<FitParameter>& parameters,
                   const std::vector<float>& values) {
  for (std::size_t j = 0; j < parameters.size(); ++j) {
    const std::vector<ParameterRow>& rows = parameters[j].rows;
    if (rows.size() > crystal.atoms.size()) {
      throw SetupRefused(" parameter " + std::to_string(j + 1) + " has " +
                         std::to_string(rows.size()) + " rows, the crystal " +
                         std::to_string(crystal.atoms.size()) + " atoms");
    }
    for (std::size_t k = 0; k < rows.size(); ++k)
      apply_row(crystal.atoms[k], rows[k], values.at(j));
  }
  for (std::size_t k = 0; k < crystal.atoms.size(); ++k) {
    if (!all_finite(crystal.atoms[k])) {
      throw SetupRefused(" the parameter values move atom " + std::to_string(k + 1) +
                         " beyond the range of reals");
    }
  }
  for (int axis = 0; axis < 3; ++axis) regroup_planes(crystal, axis);
}

}  // namespace structfit
