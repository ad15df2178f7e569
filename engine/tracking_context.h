// The read-only data every step of an ion run looks at: crystal, models, fixed and run
// tables, the cell lookup, the reference direction and the end depth.
#pragma once

#include <cstdint>

#include "engine/cell_lookup.h"
#include "engine/fixed_tables.h"
#include "engine/ion_state.h"
#include "engine/model.h"
#include "engine/run_tables.h"

namespace engine {

struct TrackingContext {
  const Crystal& crystal;
  const ModelSet& models;
  const FixedTables& fixed;
  const RunTables& tables;
  const CellLookup& cells;
  ScatteringReference reference;
  float z_end = 0.0f;  // Å: the last z edge; ions in the x and y walks end below it
};

}  // namespace engine
