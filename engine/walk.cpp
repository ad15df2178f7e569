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

constexpr std::int64_t kMostSteps = std::int64_t{1} << 20;

float edge(const std::vector<float>& edges, std::int32_t k) {
  return edges[static_cast<std::size_t>(k - 1)];
}

// `count` entries of `views` from index `first`, clipped to the table.
template <typename T>
std::span<const T> run_of(const std::vector<T>& views, std::int32_t first, std::int32_t count) {
  const auto size = static_cast<std::int32_t>(views.size());
  const std::int32_t begin = first < 0 ? 0 : (first > size ? size : first);
  const std::int32_t end = first + count > size ? size : first + count;
  if (end <= begin) return {};
  return {views.data() + begin, static_cast<std::size_t>(end - begin)};
}

// Next layer edge: X and Y follow along d, then both are folded and their cells found.
bool advance_z(IonState& ion, const Crystal& crystal) {
  if (ion.layer >= crystal.layer_count) return false;
  ++ion.layer;
  const float depth = edge(crystal.z_edges, ion.layer);
  const float dz = depth - ion.z;
  ion.x = wrap_periodic(ion.x + dz * ion.direction.slope_x, crystal.repeat_x);
  ion.y = wrap_periodic(ion.y + dz * ion.direction.slope_y, crystal.repeat_y);
  ion.z = depth;
  ion.kx = locate_cell(crystal.x_edges, ion.x, ion.kx);
  ion.ky = locate_cell(crystal.y_edges, ion.y, ion.ky);
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

// Next edge plane across x: ky follows the fold of y, the layer the depth.
bool advance_x(IonState& ion, const TrackingContext& context) {
  const Crystal& crystal = context.crystal;
  const IonDirection& d = ion.direction;
  if (!(d.cos_theta > 0.0f)) return false;
  ion.kx += d.step_x;
  wrap_cell(ion.kx, ion.x, crystal.cell_count_x, crystal.repeat_x);
  const float plane = edge(crystal.x_edges, ion.kx);
  const float dx = plane - ion.x;
  ion.y += dx * (d.sin_phi / d.cos_phi);
  ion.z += dx / d.slope_x;
  ion.x = plane;
  if (!(ion.z <= context.z_end)) return false;
  ion.y = wrap_periodic(ion.y, crystal.repeat_y);
  ion.ky = locate_cell(crystal.y_edges, ion.y, ion.ky);
  sink_layer(ion, crystal);
  return true;
}

// Next edge plane across y, the roles of x and y exchanged.
bool advance_y(IonState& ion, const TrackingContext& context) {
  const Crystal& crystal = context.crystal;
  const IonDirection& d = ion.direction;
  if (!(d.cos_theta > 0.0f)) return false;
  ion.ky += d.step_y;
  wrap_cell(ion.ky, ion.y, crystal.cell_count_y, crystal.repeat_y);
  const float plane = edge(crystal.y_edges, ion.ky);
  const float dy = plane - ion.y;
  ion.x += dy * (d.cos_phi / d.sin_phi);
  ion.z += dy / d.slope_y;
  ion.y = plane;
  if (!(ion.z <= context.z_end)) return false;
  ion.x = wrap_periodic(ion.x, crystal.repeat_x);
  ion.kx = locate_cell(crystal.x_edges, ion.x, ion.kx);
  sink_layer(ion, crystal);
  return true;
}

bool advance(WalkMode mode, IonState& ion, const TrackingContext& context) {
  switch (mode) {
    case WalkMode::kX:
      return advance_x(ion, context);
    case WalkMode::kY:
      return advance_y(ion, context);
    case WalkMode::kZ:
      break;
  }
  return advance_z(ion, context.crystal);
}

}  // namespace

WalkMode choose_walk_mode(const IonDirection& direction) {
  const float ax = direction.abs_slope_x;
  const float ay = direction.abs_slope_y;
  if (ax > ay && ax > 1.0f) return WalkMode::kX;
  if (ay >= ax && ay > 1.0f) return WalkMode::kY;
  return WalkMode::kZ;
}

CandidateBlock candidate_block(WalkMode mode, const IonState& ion, const CellLookup& cells) {
  CandidateBlock block;
  block.x = mode == WalkMode::kX ? run_of(cells.x, ion.kx, 1) : run_of(cells.x, ion.kx - 1, 2);
  block.y = mode == WalkMode::kY ? run_of(cells.y, ion.ky, 1) : run_of(cells.y, ion.ky - 1, 2);
  // Layer L is at index L - 1.
  block.layers = mode == WalkMode::kZ ? run_of(cells.layer, ion.layer - 1, 1)
                                      : run_of(cells.layer, ion.layer - 2, 2);
  return block;
}

void walk_ion(IonState& ion, const TrackingContext& context, RandomGenerator& generator,
              HitTally& tally) {
  WalkMode mode = choose_walk_mode(ion.direction);
  for (std::int64_t step = 0; step < kMostSteps; ++step) {
    const StepResult result =
        step_to_partner(ion, candidate_block(mode, ion, context.cells), context, generator, tally);
    if (result == StepResult::kDiscarded) return;
    if (result == StepResult::kCollision) mode = choose_walk_mode(ion.direction);
    if (!advance(mode, ion, context)) return;
  }
}

}  // namespace engine
