// The ion run: beam set-up, then for every point of the start grid one ion, started,
// smeared (blocking runs), taken through the overlayer and walked. The ion's tables are
// sized once here; the ions themselves allocate nothing.
#include "engine/launch_ions.h"

#include <algorithm>
#include <cmath>

#include "engine/beam_setup.h"
#include "engine/cell_location.h"
#include "engine/overlayer.h"
#include "engine/tracking_context.h"
#include "engine/walk.h"

namespace engine {

namespace {

// Everything an ion start needs besides the grid point.
struct RunSetup {
  const TrackingContext& context;
  const IonRunParameters& run;
  const BeamSetup& beam;
  const StartGrid& grid;
  const OverlayerSetup& overlayer;
};

// The grid point (i, j) of the regular grid with its edge intervals.
struct GridPoint {
  std::int32_t i = 1, j = 1;
  float x = 0.0f, y = 0.0f;
  std::int32_t kx = 2, ky = 2;
};

void reset_to_beam(IonState& ion, const BeamSetup& beam) {
  ion.direction = beam.ion.direction;
  ion.cross_section = beam.ion.cross_section;
  std::copy(beam.ion.weight.begin(), beam.ion.weight.end(), ion.weight.begin());
  std::copy(beam.ion.hit_offset.begin(), beam.ion.hit_offset.end(), ion.hit_offset.begin());
}

// Regular start: the grid point. Random start: uniform within the point's grid cell, with the
// edge intervals searched from those of the grid point.
void place(IonState& ion, const GridPoint& point, const RunSetup& setup,
           RandomGenerator& generator) {
  const Crystal& crystal = setup.context.crystal;
  ion.x = point.x;
  ion.y = point.y;
  ion.kx = point.kx;
  ion.ky = point.ky;
  if (setup.run.start_mode != 0) {
    const double u1 = generator.uniform_deviate();
    const double u2 = generator.uniform_deviate();
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

void run_ion(IonState& ion, const GridPoint& point, const RunSetup& setup,
             RandomGenerator& generator, HitTally& tally) {
  reset_to_beam(ion, setup.beam);
  place(ion, point, setup, generator);
  bool turned = false;
  if (setup.run.blocking()) {
    apply_azimuthal_smear(ion.direction, generator);
    turned = true;
  }
  if (setup.run.overlayer()) {
    if (!pass_overlayer(ion.direction, setup.overlayer, setup.context.tables.deflection, generator,
                        tally.overlayer_deflection_sum))
      return;
    turned = true;
  }
  if (turned) {
    update_direction_terms(ion, setup.context.reference);
    // A turn may carry the ion across slope 1: it starts along its line at the depth of the
    // walk it takes.
    const Crystal& crystal = setup.context.crystal;
    const float depth =
        start_depth(ion.direction, crystal.z_min, setup.context.tables.interaction_reach);
    if (depth != ion.z) move_to_depth(ion, depth, crystal);
  }
  walk_ion(ion, setup.context, generator, tally);
}

}  // namespace

void launch_ions(const Crystal& crystal, const ModelSet& models, const FixedTables& fixed,
                 const RunTables& tables, const IonRunParameters& run, RandomGenerator& generator,
                 HitTally& tally) {
  check_run_data(crystal, models, tables, run, tally);
  const ScatteringReference reference =
      reference_direction(run.run_azimuth, run.companion_polar, run.type_angle_cutoff);
  const CellLookup cells = make_cell_lookup(crystal);
  const TrackingContext context{crystal, models, fixed, tables, cells, reference, tables.z_end};
  const BeamSetup beam =
      set_up_beam(run.run_azimuth, run.run_polar, run.companion_polar, reference, crystal.z_min,
                  tables.interaction_reach, models.structure_count * models.vibration_count,
                  static_cast<std::int32_t>(crystal.types.size()));
  const StartGrid grid = make_start_grid(crystal.repeat_x, crystal.repeat_y, run.run_polar,
                                         run.run_azimuth, run.ion_target);
  const OverlayerSetup overlayer =
      run.overlayer()
          ? set_up_overlayer(run.overlayer_density, std::cos(run.run_polar), run.overlayer_type)
          : OverlayerSetup{};
  tally.ions_run = grid.points();
  tally.hit_norm = beam.cross_section;
  const RunSetup setup{context, run, beam, grid, overlayer};
  IonState ion = beam.ion;
  GridPoint point;
  for (point.i = 1; point.i <= grid.nx; ++point.i) {
    point.x = (static_cast<float>(point.i) - 0.5f) * grid.dx;
    point.kx = search_upward(crystal.x_edges, point.x, point.kx);
    point.ky = 2;
    for (point.j = 1; point.j <= grid.ny; ++point.j) {
      point.y = (static_cast<float>(point.j) - 0.5f) * grid.dy;
      point.ky = search_upward(crystal.y_edges, point.y, point.ky);
      run_ion(ion, point, setup, generator, tally);
    }
  }
}

}  // namespace engine
