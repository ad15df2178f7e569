// Launching the ions of one run direction with a tracking policy: a grid of ions over one
// repeat cell, each started along the run direction, smeared (blocking runs), taken through
// the optional overlayer and walked with the policy's displacements and accounting. The
// ion's tables are sized once per run; the ions themselves allocate nothing.
#pragma once

#include <cstdint>

#include "engine/beam_setup.h"
#include "engine/ion_run.h"
#include "engine/ion_state.h"
#include "engine/overlayer.h"
#include "engine/random_generator.h"
#include "engine/tracking_context.h"
#include "engine/tracking_policy.h"
#include "engine/walk.h"

namespace engine {

// What every ion start of one run needs besides its grid point.
struct LaunchSetup {
  BeamSetup beam;
  StartGrid grid;
  OverlayerSetup overlayer;
};

// The beam ion of the run direction with `weight_count` weights, the start grid for the ion
// target and, when switched on, the overlayer along the run direction.
LaunchSetup set_up_launch(const TrackingContext& context, const IonRunParameters& run,
                          std::int32_t weight_count);

// The grid point (i, j) of the regular grid with its edge intervals.
struct GridPoint {
  std::int32_t i = 1, j = 1;
  float x = 0.0f, y = 0.0f;
  std::int32_t kx = 2, ky = 2;
};

// Calls visit(point) for i = 1..nx (outer) and j = 1..ny (inner): the point at the centre of
// its grid cell, kx searched upward from 2 and carried over from one i to the next, ky
// searched upward from 2 for every i.
template <typename Visit>
void for_each_grid_point(const Crystal& crystal, const StartGrid& grid, Visit&& visit) {
  GridPoint point;
  for (point.i = 1; point.i <= grid.nx; ++point.i) {
    point.x = (static_cast<float>(point.i) - 0.5f) * grid.dx;
    point.kx = search_upward(crystal.x_edges, point.x, point.kx);
    point.ky = 2;
    for (point.j = 1; point.j <= grid.ny; ++point.j) {
      point.y = (static_cast<float>(point.j) - 0.5f) * grid.dy;
      point.ky = search_upward(crystal.y_edges, point.y, point.ky);
      visit(point);
    }
  }
}

// Starts the ion of one grid point: the beam direction and weights, the start position
// (regular, or random within the point's grid cell), the blocking smear and the overlayer,
// then, if the direction turned, its derived terms and the start depth of the walk it takes.
// False when the overlayer discarded the ion. Adds the overlayer deflection to
// `overlayer_deflection_sum` (rad^2).
bool start_ion(IonState& ion, const GridPoint& point, const TrackingContext& context,
               const IonRunParameters& run, const LaunchSetup& setup, RandomGenerator& generator,
               double& overlayer_deflection_sum);

// Runs every ion of one run direction with `policy`. Sets counts.ions_run and
// counts.hit_norm, adds to the other counts and, through the policy, to `tally`. The context
// must fit the run (launch_ions.h lists the checks of the multi-model run).
template <TrackingPolicy Policy>
void launch_ions(const TrackingContext& context, const IonRunParameters& run, const Policy& policy,
                 RandomGenerator& generator, typename Policy::Tally& tally, RunCounts& counts) {
  const LaunchSetup setup = set_up_launch(context, run, policy.weight_count());
  counts.ions_run = setup.grid.points();
  counts.hit_norm = setup.beam.cross_section;
  IonState ion = setup.beam.ion;
  typename Policy::IonMemory memory{};
  for_each_grid_point(context.crystal, setup.grid, [&](const GridPoint& point) {
    if (!start_ion(ion, point, context, run, setup, generator, counts.overlayer_deflection_sum))
      return;
    policy.start_ion(memory);
    walk_ion(ion, context, policy, memory, generator, tally, counts);
  });
}

}  // namespace engine
