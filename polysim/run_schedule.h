// The ion runs of a simulation worked out before any ion runs: the shadowing run along the
// beam and, per detection angle, one blocking run per kinematic group, each with its
// direction, its ion target and the tables it reads. The tables follow the rule of a
// sequential run (a new deflection table when the kinematic factor moved by more than 0.02
// since the group's last one; new radii and ring tables then, or when the reference angle
// moved by more than 0.01 degree), so every run can be made on its own and in any order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/fixed_tables.h"
#include "engine/ion_run.h"
#include "engine/model.h"
#include "engine/run_tables.h"
#include "polysim/kinematic_groups.h"
#include "polysim/simulation_input.h"

namespace polysim {

// Ions asked of one run: INT(product) of the cosine of the run direction, the cell area and
// the flux. Throws InvalidInput when the product is not a number of ions an int can hold.
std::int32_t ion_target(double product);

// The small reference angle (radians) for which the interaction radii are computed:
// 0.1 cos(run_polar) / z_max, limited to 0.01 .. 0.1 degree (a crystal at depth 0 gets 0.1).
float reference_angle(float run_polar, float z_max, float deg_to_rad);

// The deflection table is rebuilt only when the kinematic factor moved by more than 0.02.
bool needs_new_deflection_table(float factor, float previous_factor);

// Refuses geometry for which a run would divide by zero or have no elastic solution: a beam
// or a reversed exit direction that does not point into the crystal, and a detection angle
// through which an ion of this mass cannot be scattered by the atoms of some type the crystal
// uses. `input` is prepared (angles in radians). Throws InvalidInput naming the angle.
void check_run_geometry(const SimulationInput& input, float pi, float deg_to_rad);

// `tables` with the interaction radii of `reference` (radians): the per-type radii R_t below
// which an atom deflects the ion by more than the reference angle, weights 1/R_t^2, the
// interaction reach raised to the largest radius so far, the end depth that far below z_max,
// and the ring tables of the radii (which leave their working radius in interaction_reach).
engine::RunTables with_interaction_radii(engine::RunTables tables, float reference,
                                         const engine::Crystal& crystal,
                                         const engine::ModelSet& models,
                                         const engine::FixedTables& fixed);

// One ion run: its parameters and the tables it reads, shared read-only with the other runs
// that use the same ones.
struct ScheduledRun {
  engine::IonRunParameters parameters;
  std::shared_ptr<const engine::RunTables> tables;
  std::size_t group = 0;  // the kinematic group of a blocking run

  bool operator==(const ScheduledRun& other) const {
    return parameters == other.parameters && group == other.group &&
           (tables == other.tables || (tables && other.tables && *tables == *other.tables));
  }
};

struct RunSchedule {
  ScheduledRun shadowing;
  std::size_t group_count = 0;
  // The blocking run of detection angle j (1-based) and group g at (j - 1) group_count + g.
  std::vector<ScheduledRun> blocking;

  const ScheduledRun& blocking_run(std::int32_t j, std::size_t g) const {
    return blocking.at(static_cast<std::size_t>(j - 1) * group_count + g);
  }
  bool operator==(const RunSchedule&) const = default;
};

// The schedule of a prepared input (angles in radians, model data derived) with the models
// the tracking reads and the kinematic groups, group by group in the order of the runs of a
// sequential simulation: the shadowing run starts every group from the tables of the beam
// energy. Throws InvalidInput when a run would ask for more ions than an int holds.
RunSchedule build_schedule(const SimulationInput& input, const engine::ModelSet& models,
                           const std::vector<KinematicGroup>& groups,
                           const engine::FixedTables& fixed);

}  // namespace polysim
