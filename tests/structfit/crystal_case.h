// Small crystals and parameters built in code for the tests of the alteration and the models.
#pragma once

#include <array>
#include <vector>

#include "structfit/base_crystal.h"
#include "structfit/fit_setup.h"

namespace structfit_test {

// Atoms at `positions` with amplitude values (0.1, 0.2, 0.3), one type, counts set to match.
inline structfit::BaseCrystal crystal_at(const std::vector<std::array<float, 3>>& positions) {
  structfit::BaseCrystal crystal;
  for (const auto& p : positions) {
    structfit::BaseAtom atom;
    atom.position = p;
    atom.amplitude = {0.1f, 0.2f, 0.3f};
    atom.type = 1;
    crystal.atoms.push_back(atom);
  }
  crystal.types.push_back({29, 63.546f});
  crystal.n(1) = static_cast<std::int32_t>(positions.size());
  crystal.n(2) = 1;
  return crystal;
}

inline structfit::FitParameter parameter(std::vector<structfit::ParameterRow> rows,
                                         float step = 0.1f) {
  structfit::FitParameter p;
  p.name = "p";
  p.name.resize(20, ' ');
  p.step = step;
  p.rows = std::move(rows);
  return p;
}

}  // namespace structfit_test
