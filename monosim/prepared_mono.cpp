// Preparation of a monosim run on polysim's preparation.
#include "monosim/prepared_mono.h"

#include <cmath>

namespace monosim {

float real_ion_target(float run_polar, float flux, const engine::Crystal& crystal) {
  return std::cos(run_polar) * flux * crystal.repeat_y * crystal.repeat_x;
}

PreparedMono prepare_mono(const MonoInput& input, const engine::FixedTables& fixed) {
  PreparedMono prepared{input, polysim::prepare_run(input.base, fixed),
                        derive_vibrations(input.amplitudes, fixed.pi), derive_correlation(input)};
  const polysim::SimulationInput& base = prepared.run.input;
  polysim::RunSchedule& schedule = prepared.run.schedule;
  engine::IonRunParameters& shadowing = schedule.shadowing.parameters;
  shadowing.ion_target = real_ion_target(shadowing.run_polar, base.beam.shadow_flux, base.crystal);
  for (polysim::ScheduledRun& blocking : schedule.blocking)
    blocking.parameters.ion_target =
        real_ion_target(blocking.parameters.run_polar, base.beam.block_flux, base.crystal);
  return prepared;
}

}  // namespace monosim
