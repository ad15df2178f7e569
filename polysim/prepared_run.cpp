// Preparation of a run: a prepared copy of the input, its checks, and the schedule.
#include "polysim/prepared_run.h"

#include <cmath>

#include "polysim/input_values.h"
#include "polysim/prepare_models.h"

namespace polysim {

std::vector<float> PreparedRun::interaction_radii() const {
  std::vector<float> radii;
  for (const float weight : schedule.shadowing.tables->type_reach_weight)
    radii.push_back(1.0f / std::sqrt(weight));
  return radii;
}

PreparedRun prepare_run(const SimulationInput& input, const engine::FixedTables& fixed) {
  PreparedRun run;
  run.input = input;
  SimulationInput& prepared = run.input;
  prepare_models(prepared.crystal, prepared.models, prepared.beam, fixed);
  check_run_geometry(prepared, fixed.pi, fixed.deg_to_rad);
  check_overlayer_collisions(prepared, fixed.pi, fixed.deg_to_rad);
  run.models = models_for_tracking(prepared.crystal, prepared.models);
  run.groups =
      kinematic_groups(prepared.crystal, prepared.beam.ion_mass, prepared.beam.detection_angles);
  run.schedule = build_schedule(prepared, run.models, run.groups, fixed);
  return run;
}

}  // namespace polysim
