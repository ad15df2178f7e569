// The finiteness check of a run's results.
#include "polysim/result_check.h"

#include <cmath>
#include <sstream>
#include <string>

#include "polysim/input_checks.h"

namespace polysim {

namespace {

[[noreturn]] void refuse(const std::string& what, float value) {
  std::ostringstream text;
  text << "Results: " << what << " is " << value << "; no result file is written";
  throw InvalidInput(text.str());
}

std::string in_pair(std::int32_t s, std::int32_t v) {
  return " in structure model " + std::to_string(s) + ", vibration model " + std::to_string(v);
}

void check_atom(const RunResults& results, std::int32_t a, std::int32_t s, std::int32_t v) {
  const std::string atom = " of atom " + std::to_string(a);
  const float probability = results.hit_probability(v, s, a);
  if (!std::isfinite(probability))
    refuse("the hitting probability" + atom + in_pair(s, v), probability);
  for (std::int32_t j = 1; j <= results.angle_count(); ++j) {
    const float yield = results.block_yield(v, s, a, j);
    if (!std::isfinite(yield))
      refuse(
          "the blocked yield" + atom + " at detection angle " + std::to_string(j) + in_pair(s, v),
          yield);
  }
}

}  // namespace

void check_results_finite(const RunResults& results) {
  if (!std::isfinite(results.overlayer_deflection_sum))
    refuse("the overlayer deflection sum", results.overlayer_deflection_sum);
  for (std::int32_t a = 1; a <= results.atom_count(); ++a)
    for (std::int32_t s = 1; s <= results.structure_count(); ++s)
      for (std::int32_t v = 1; v <= results.vibration_count(); ++v) check_atom(results, a, s, v);
}

}  // namespace polysim
