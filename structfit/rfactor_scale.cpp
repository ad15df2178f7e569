// Ratio-of-sums scale factor and its optional clamp.
#include "structfit/rfactor_scale.h"

#include <string>

#include "structfit/rfactor_errors.h"
#include "structfit/rfactor_text.h"

namespace structfit {

namespace {

float sum_of(std::span<const float> values) {
  float sum = 0.0f;
  for (const float v : values) sum += v;
  return sum;
}

}  // namespace

float clamp_scale(float factor, const ScaleConstraint& constraint) {
  if (!constraint.active) return factor;
  const float lower = constraint.nominal * (100.0f - constraint.tolerance_percent) * 0.01f;
  const float upper = constraint.nominal * (100.0f + constraint.tolerance_percent) * 0.01f;
  if (factor < lower) return lower;
  if (factor > upper) return upper;
  return factor;
}

float normalisation_factor(std::span<const float> measured, std::span<const float> simulated,
                           const ScaleConstraint& constraint) {
  const float simulated_sum = sum_of(simulated);
  if (!(simulated_sum > 0.0f))
    throw RFactorRefused(RFactorInput::simulation, 0,
                         "the compared simulated intensities sum to " + number_text(simulated_sum) +
                             "; the scale factor needs a positive sum");
  const float factor = clamp_scale(sum_of(measured) / simulated_sum, constraint);
  if (!(factor > 0.0f))
    throw RFactorRefused(RFactorInput::scale_constraint, 0,
                         "the scale constraint (nominal " + number_text(constraint.nominal) +
                             ", tolerance " + number_text(constraint.tolerance_percent) +
                             " %) sets the scale factor to " + number_text(factor) +
                             "; it must stay positive");
  return factor;
}

}  // namespace structfit
