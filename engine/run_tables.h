// The tables of one run that change with the ion energy and the detection angle, kept apart
// from the read-only crystal and model data.
#pragma once

#include <vector>

#include "engine/deflection_table.h"
#include "engine/ring_tables.h"

namespace engine {

struct RunTables {
  DeflectionTable deflection;            // for the current kinematic factor
  std::vector<float> type_angle_cutoff;  // Å per type: impact parameter of the detection angle
  std::vector<float> type_reach_weight;  // 1/Å^2 per type: 1 / (interaction radius)^2
  float interaction_reach = 0.0f;        // Å, the largest interaction radius met so far
  RingTables rings;                      // miss probabilities for the current radii
};

}  // namespace engine
