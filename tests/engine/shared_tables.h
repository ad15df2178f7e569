// The fixed look-up tables, built once per test program.
#pragma once

#include "engine/fixed_tables.h"

namespace engine_test {

inline const engine::FixedTables& fixed_tables() {
  static const engine::FixedTables tables = engine::build_fixed_tables();
  return tables;
}

}  // namespace engine_test
