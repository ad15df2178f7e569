// A simulation input made ready to run: a new, read-only value holding the prepared copy of
// the input, the models the tracking reads, the kinematic groups and the schedule of ion runs
// with their tables. The input itself is never changed; the value can be simulated any number
// of times, from several threads at once.
#pragma once

#include <vector>

#include "engine/fixed_tables.h"
#include "engine/model.h"
#include "polysim/kinematic_groups.h"
#include "polysim/run_schedule.h"
#include "polysim/simulation_input.h"

namespace polysim {

struct PreparedRun {
  // The input with angles in radians, model data derived and x and y edges closed: what the
  // result files print.
  SimulationInput input;
  // The models the tracking reads: those of the input, with atoms up to N18 given model
  // amplitudes when N18 > N19 (models_for_tracking).
  engine::ModelSet models;
  std::vector<KinematicGroup> groups;
  RunSchedule schedule;

  // The interaction radius of each atom type (Å, type t at t - 1) of the shadowing run.
  std::vector<float> interaction_radii() const;

  bool operator==(const PreparedRun&) const = default;
};

// Derives everything a simulation needs from `input` as read (angles in degrees). Throws
// InvalidInput, before any table is built, for model data that would index outside its
// tables, amplitudes outside their range, geometry without a solution (check_run_geometry),
// an overlayer too dense to cross (check_overlayer_collisions), and runs asking for more ions
// than an int holds.
PreparedRun prepare_run(const SimulationInput& input, const engine::FixedTables& fixed);

}  // namespace polysim
