// The crystal of a base file altered by the whole parameter vector: atoms moved along their
// table coefficients, amplitudes set, and the planes regrouped on every axis.
#pragma once

#include <vector>

#include "structfit/base_crystal.h"
#include "structfit/fit_setup.h"

namespace structfit {

// For each parameter j in order and each row k of its table: coordinate a of atom k moves by
// c_a * p_j where c_a (a = 1..3) is non-zero; amplitude value a of atom k becomes c_(3+a) * p_j
// where that coefficient is positive, so a later parameter overrides an earlier one. Then
// the planes are regrouped along x, y and z. `values` holds one value per parameter. Throws
// SetupRefused when a table has more rows than the crystal has atoms or a moved value leaves
// the range of reals.
void alter_crystal(BaseCrystal& crystal, const std::vector<FitParameter>& parameters,
                   const std::vector<float>& values);

}  // namespace structfit
