// The partner search of one step: among the atoms of a small block of cells, each displaced
// by the step's thermal deviates, the one that deflects the ion most (smallest p^2 / R_t^2)
// becomes the partner; its encounter is accounted for every model pair and, when it lies
// within its interaction radius, the ion collides with it.
#pragma once

#include <cstdint>
#include <span>

#include "engine/cell_location.h"
#include "engine/ion_run.h"
#include "engine/ion_state.h"
#include "engine/random_generator.h"
#include "engine/thermal_displacement.h"
#include "engine/tracking_context.h"

namespace engine {

// The cells to examine, as views into the run's CellLookup: x-cells outermost, then
// y-cells, then layers (by their offsets in the cell map).
struct CandidateBlock {
  std::span<const CellView> x, y;
  std::span<const std::size_t> layers;
};

// The chosen partner of a step.
struct Partner {
  std::int32_t atom = 0;                  // 1-based atom number
  float rx = 0.0f, ry = 0.0f, rz = 0.0f;  // r = rel - δ: ion relative to the displaced atom, Å
  Displacement displacement;              // δ, Å
  float q1 = 0.0f;                        // e1 . r, Å
  float p2 = 0.0f;                        // squared impact parameter (e1 . r)^2 + (e2 . r)^2, Å^2
  float w = 0.0f;                         // p^2 / R_t^2
  Transverse site;                        // rel, ion relative to the site, across the path
  Transverse hit;                         // rel - h(t): ion relative to the hit point
  Transverse shift;                       // δ across the path
};

enum class StepResult { kNoCollision = 1, kCollision = 2, kDiscarded = 3 };

// Draws the step's three deviates, chooses the partner (the best w starts at 1000; a later
// candidate wins a tie), accounts it (hit_accounting.h) and, when w <= 1, collides. Returns
// kNoCollision when no candidate was found or the partner lies outside its radius,
// kCollision after a collision, kDiscarded when the collision could not be applied.
StepResult step_to_partner(IonState& ion, const CandidateBlock& block,
                           const TrackingContext& context, RandomGenerator& generator,
                           HitTally& tally);

}  // namespace engine
