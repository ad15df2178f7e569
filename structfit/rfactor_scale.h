// The factor that scales a simulated curve to the measured counts, optionally held within a
// tolerance of a nominal value.
#pragma once

#include <span>

namespace structfit {

// The data set's scale constraint: when `active`, the factor is held within
// `tolerance_percent` per cent of `nominal`.
struct ScaleConstraint {
  bool active = false;
  float nominal = 0.0f;
  float tolerance_percent = 0.0f;
};

// `factor` held to [nominal (100 - tolerance) 0.01, nominal (100 + tolerance) 0.01] when the
// constraint is active: below the lower bound it becomes the lower bound, otherwise above the
// upper bound the upper bound. Unchanged when the constraint is not active.
float clamp_scale(float factor, const ScaleConstraint& constraint);

// Sum of the measured over sum of the simulated intensities, clamped by the constraint.
// Throws RFactorRefused when the simulated sum is not positive (input simulation) or the
// clamped factor is not positive (input scale_constraint), as both are divisors later.
float normalisation_factor(std::span<const float> measured, std::span<const float> simulated,
                           const ScaleConstraint& constraint);

}  // namespace structfit
