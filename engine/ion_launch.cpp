// The start of each ion of a run: placed at its grid point, smeared (blocking runs) and taken
// through the overlayer before its walk.
#include "engine/ion_launch.h"

#include <algorithm>
#include <cmath>

#include "engine/cell_location.h"

namespace engine {

namespace {

void reset_to_beam(IonState& ion, const BeamSetup& beam) {
  ion.direction = beam.ion.direction;
  ion.cross_section = beam.ion.cross_section;
  std::copy(beam.ion.weight.begin(), beam.ion.weight.end(), ion.weight.begin());
  std::copy(beam.ion.hit_offset.begin(), beam.ion.hit_offset.end(), ion.hit_offset.begin());
}

// Regular start: the grid point. Random start: uniform within the point's grid cell, with the
// edge intervals searched from those of the grid point.
void place(IonState& ion, const GridPoint& point, const Crystal& crystal,
           const IonRunParameters& run, const LaunchSetup& setup, IonStream& stream) {
  ion.x = point.x;
  ion.y = point.y;
  ion.kx = point.kx;
  ion.ky = point.ky;
  if (run.start_mode != 0) {
    const double u1 = stream.uniform_deviate();
    const double u2 = stream.uniform_deviate();
    ion.x = static_cast<float>((point.i - 1 + u1) * setup.grid.dx);
    ion.y = static_cast<float>((point.j - 1 + u2) * setup.grid.dy);
    if (ion.x > crystal.repeat_x) ion.x -= crystal.repeat_x;
    if (ion.y > crystal.repeat_y) ion.y -= crystal.repeat_y;
    ion.kx = locate_cell(crystal.x_edges, ion.x, point.kx);
    ion.ky = locate_cell(crystal.y_edges, ion.y, point.ky);
  }
  ion.z = setup.beam.z_start;
  ion.layer = 1;
}

// The centre of grid cell k (1-based) of spacing d (Å).
float grid_coordinate(std::int32_t k, float d) {
  return (static_cast<float>(k) - 0.5f) * d;
}

}  // namespace

LaunchSetup set_up_launch(const TrackingContext& context, const IonRunParameters& run,
                          std::int32_t weight_count) {
  const Crystal& crystal = context.crystal;
  LaunchSetup setup{set_up_beam(run.run_azimuth, run.run_polar, run.companion_polar,
                                context.reference, crystal.z_min, context.tables.interaction_reach,
                                weight_count, static_cast<std::int32_t>(crystal.types.size())),
                    make_start_grid(crystal.repeat_x, crystal.repeat_y, run.run_polar,
                                    run.run_azimuth, run.ion_target),
                    {},
                    {},
                    {}};
  std::int32_t k = 2;
  for (std::int32_t i = 1; i <= setup.grid.nx; ++i)
    setup.column_kx.push_back(
        k = search_upward(crystal.x_edges, grid_coordinate(i, setup.grid.dx), k));
  k = 2;
  for (std::int32_t j = 1; j <= setup.grid.ny; ++j)
    setup.row_ky.push_back(
        k = search_upward(crystal.y_edges, grid_coordinate(j, setup.grid.dy), k));
  if (run.overlayer())
    setup.overlayer =
        set_up_overlayer(run.overlayer_density, std::cos(run.run_polar), run.overlayer_type);
  return setup;
}

GridPoint grid_point(const LaunchSetup& setup, std::int64_t n) {
  GridPoint point;
  point.i = static_cast<std::int32_t>(n / setup.grid.ny) + 1;
  point.j = static_cast<std::int32_t>(n % setup.grid.ny) + 1;
  point.x = grid_coordinate(point.i, setup.grid.dx);
  point.y = grid_coordinate(point.j, setup.grid.dy);
  point.kx = setup.column_kx[static_cast<std::size_t>(point.i - 1)];
  point.ky = setup.row_ky[static_cast<std::size_t>(point.j - 1)];
  return point;
}

bool start_ion(IonState& ion, const GridPoint& point, const TrackingContext& context,
               const IonRunParameters& run, const LaunchSetup& setup, IonStream& stream,
               double& overlayer_deflection_sum) {
  const Crystal& crystal = context.crystal;
  reset_to_beam(ion, setup.beam);
  place(ion, point, crystal, run, setup, stream);
  bool turned = false;
  if (run.blocking()) {
    apply_azimuthal_smear(ion.direction, stream);
    turned = true;
  }
  if (run.overlayer()) {
    if (!pass_overlayer(ion.direction, setup.overlayer, context.tables.deflection, stream,
                        overlayer_deflection_sum))
      return false;
    turned = true;
  }
  if (turned) {
    update_direction_terms(ion, context.reference);
    // A turn may carry the ion across slope 1: it starts along its line at the depth of the
    // walk it takes.
    const float depth = start_depth(ion.direction, crystal.z_min, context.tables.interaction_reach);
    if (depth != ion.z) move_to_depth(ion, depth, context);
  }
  return true;
}

}  // namespace engine
