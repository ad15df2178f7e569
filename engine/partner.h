// What the partner search hands on: the block of cells to examine, each candidate atom as
// the search sees it, and the chosen partner with the quantities the accounting and the
// collision read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/cell_lookup.h"
#include "engine/ion_state.h"
#include "engine/model.h"
#include "engine/thermal_displacement.h"

namespace engine {

// A vector from an atom's site to the ion, Å.
struct Relative {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

// One atom of the block, in the periodic image the block shows it in.
struct Candidate {
  std::int32_t number = 0;  // 1-based atom number
  const Atom* atom = nullptr;
  Relative rel;  // ion position (with the image shift) minus the undisplaced site, Å
};

// The chosen partner of a step.
struct Partner {
  std::int32_t atom = 0;                  // 1-based atom number
  float rx = 0.0f, ry = 0.0f, rz = 0.0f;  // r = rel - δ: ion relative to the displaced atom, Å
  Displacement displacement;              // δ, Å
  float q1 = 0.0f;                        // e1 . r, Å
  float p2 = 0.0f;                        // squared impact parameter (e1 . r)^2 + (e2 . r)^2, Å^2
  float w = 0.0f;                         // p^2 / R_t^2
  Relative rel;                           // ion relative to the undisplaced site, Å
  Transverse site;                        // rel, ion relative to the site, across the path
  Transverse hit;                         // rel - h(t): ion relative to the hit point
};

enum class StepResult { kNoCollision = 1, kCollision = 2, kDiscarded = 3 };

}  // namespace engine
