// A monosim input made ready to run: polysim's preparation of the shared groups (cell map,
// depth range, closed edge lists, angles in radians, geometry checks, the kinematic groups and
// the schedule of ion runs with their tables), with monosim's real ion targets, and the
// vibration and correlation quantities of its own accounting.
#pragma once

#include <vector>

#include "engine/fixed_tables.h"
#include "monosim/mono_input.h"
#include "monosim/vibrations.h"
#include "polysim/prepared_run.h"

namespace monosim {

struct PreparedMono {
  MonoInput input;           // as read (angles in degrees)
  polysim::PreparedRun run;  // run.input: the shared groups prepared (angles in radians)
  std::vector<AtomVibration> vibrations;  // atom a at a - 1
  Correlation correlation;
};

// The ions asked of a run with direction `run_polar` (radians) at `flux` ions per Å²: the
// 32-bit product cos(run_polar) flux Yrep Xrep itself, not truncated to a whole number.
float real_ion_target(float run_polar, float flux, const engine::Crystal& crystal);

// Throws polysim::InvalidInput (geometry without a solution, a run asking for more ions than
// an int holds) before any table is built.
PreparedMono prepare_mono(const MonoInput& input, const engine::FixedTables& fixed);

}  // namespace monosim
