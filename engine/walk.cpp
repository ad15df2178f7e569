// The three walking modes. Z mode moves the ion to the top edge of the next layer; X and Y
// modes move it to the next cell edge plane across x or y, folding the other lateral
// coordinate back into the repeat cell and advancing the layer as the ion sinks.
#include "engine/walk.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/cell_location.h"

namespace engine {

namespace {

float edge(const std::vector<float>& edges, std::int32_t k) {
  return edges[static_cast<std::size_t>(k - 1)];
}

// Next layer edge.
bool advance_z(IonState& ion, const TrackingContext& context) {
  const Crystal& crystal = context.crystal;
  if (ion.layer >= crystal.layer_count) return false;
  ++ion.layer;
  move_to_depth(ion, edge(crystal.z_edges, ion.layer), context);
  return true;
}

// Layer L with Bz(L - 1) < z <= Bz(L), at most nz + 1, never moving back.
void sink_layer(IonState& ion, const Crystal& crystal) {
  while (ion.layer <= crystal.layer_count && ion.z > edge(crystal.z_edges, ion.layer)) ++ion.layer;
}

// Index k of a row of n cells with period P brought into 1..n, moving the coordinate by the
// periods crossed (k is at most two cells outside the row).
void wrap_cell(std::int32_t& k, float& coordinate, std::int32_t n, float period) {
  while (k > n) {
    k -= n;
    coordinate -= period;
  }
  while (k < 1) {
    k += n;
    coordinate += period;
  }
}

// One lateral axis as the X or Y walk sees it: the coordinate walked across (its planes are
// the column edges), the other lateral coordinate with its cells, and the line's slopes.
struct LateralWalk {
  float IonState::*along;
  std::int32_t IonState::*plane;
  float IonState::*across;
  std::int32_t IonState::*across_cell;
  const std::vector<float>& along_edges;
  const NearbyCells& across_near;
  std::int32_t along_cells;
  float along_period;
  const PeriodicFold& across_fold;
  float across_per_along;  // d(across) / d(along)
  float along_per_depth;   // d(along) / dz
  std::int32_t step;       // ±1 along
};

LateralWalk lateral_walk(WalkMode mode, const IonState& ion, const TrackingContext& context) {
  const Crystal& crystal = context.crystal;
  const IonDirection& d = ion.direction;
  if (mode == WalkMode::kX)
    return {&IonState::x,
            &IonState::kx,
            &IonState::y,
            &IonState::ky,
            crystal.x_edges,
            context.cells.y_near,
            crystal.cell_count_x,
            crystal.repeat_x,
            context.cells.y_fold,
            d.y_per_x,
            d.slope_x,
            d.step_x};
  return {&IonState::y,
          &IonState::ky,
          &IonState::x,
          &IonState::kx,
          crystal.y_edges,
          context.cells.x_near,
          crystal.cell_count_y,
          crystal.repeat_y,
          context.cells.x_fold,
          d.x_per_y,
          d.slope_y,
          d.step_y};
}

// The first edge plane the line meets from coordinate `at`: the lowest k with B(k) >= at
// moving up, the highest k with B(k) <= at moving down (an ion on a plane meets it there),
// searched from k.
std::int32_t plane_ahead(const std::vector<float>& edges, float at, std::int32_t k,
                         std::int32_t step) {
  const auto n = static_cast<std::int32_t>(edges.size());
  k = std::clamp(k, 1, n);
  if (step > 0) {
    while (k > 1 && edge(edges, k - 1) >= at) --k;
    while (k < n && edge(edges, k) < at) ++k;
  } else {
    while (k < n && edge(edges, k + 1) <= at) ++k;
    while (k > 1 && edge(edges, k) > at) --k;
  }
  return k;
}

// Moves the ion along its line to the edge plane of its plane index (brought into the row,
// the coordinate shifted by the periods crossed), folds the other lateral coordinate, finds
// its cell and sinks the layer to the crossing depth. False when the crossing lies below the
// end depth or the line does not go deeper.
bool cross_plane(const LateralWalk& w, IonState& ion, const TrackingContext& context) {
  if (!(ion.direction.cos_theta > 0.0f)) return false;
  std::int32_t& k = ion.*w.plane;
  float& along = ion.*w.along;
  float& across = ion.*w.across;
  wrap_cell(k, along, w.along_cells, w.along_period);
  const float plane = edge(w.along_edges, k);
  const float run = plane - along;
  across += run * w.across_per_along;
  ion.z += run / w.along_per_depth;
  along = plane;
  if (!(ion.z <= context.z_end)) return false;
  across = wrap_periodic(w.across_fold, across);
  ion.*w.across_cell = locate_cell_near(w.across_near, across, ion.*w.across_cell);
  sink_layer(ion, context.crystal);
  return true;
}

}  // namespace

bool enter_walk(WalkMode mode, IonState& ion, const TrackingContext& context) {
  if (mode == WalkMode::kZ) return true;
  const LateralWalk w = lateral_walk(mode, ion, context);
  ion.*w.plane = plane_ahead(w.along_edges, ion.*w.along, ion.*w.plane, w.step);
  return cross_plane(w, ion, context);
}

bool advance_walk(WalkMode mode, IonState& ion, const TrackingContext& context) {
  if (mode == WalkMode::kZ) return advance_z(ion, context);
  const LateralWalk w = lateral_walk(mode, ion, context);
  ion.*w.plane += w.step;
  return cross_plane(w, ion, context);
}

void move_to_depth(IonState& ion, float depth, const TrackingContext& context) {
  const float dz = depth - ion.z;
  ion.x = wrap_periodic(context.cells.x_fold, ion.x + dz * ion.direction.slope_x);
  ion.y = wrap_periodic(context.cells.y_fold, ion.y + dz * ion.direction.slope_y);
  ion.z = depth;
  ion.kx = locate_cell_near(context.cells.x_near, ion.x, ion.kx);
  ion.ky = locate_cell_near(context.cells.y_near, ion.y, ion.ky);
}

WalkMode choose_walk_mode(const IonDirection& direction) {
  const float ax = direction.abs_slope_x;
  const float ay = direction.abs_slope_y;
  if (ax > ay && ax > 1.0f) return WalkMode::kX;
  if (ay >= ax && ay > 1.0f) return WalkMode::kY;
  return WalkMode::kZ;
}

}  // namespace engine
