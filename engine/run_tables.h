// The tables of an ion run that change with the ion energy and the interaction radii, kept
// apart from the read-only crystal and model data. Runs at several detection angles share
// one set while neither changes.
#pragma once

#include <vector>

#include "engine/deflection_table.h"
#include "engine/ring_tables.h"

namespace engine {

struct RunTables {
  DeflectionTable deflection;            // for the current kinematic factor
  std::vector<float> type_reach_weight;  // 1/Å^2 per type: 1 / (interaction radius)^2
  // Å: the working radius of build_ring_tables, left holding the radius of the type of the
  // last atom with ring tables; the grazing start depth lies this far above z_min.
  float interaction_reach = 0.0f;
  RingTables rings;  // miss probabilities for the current radii
  // Å: the end depth, z_max plus the largest interaction radius so far; ions of the x and y
  // walks end below it.
  float z_end = 0.0f;

  bool operator==(const RunTables&) const = default;
};

}  // namespace engine
