// Set-up of one ion run: the beam direction with its derived terms and weights, the
// reference direction, the grazing start depth, the grid of start positions over the
// repeat cell, and the azimuthal smear of blocking runs.
#pragma once

#include <cstdint>
#include <span>

#include "engine/ion_state.h"
#include "engine/ion_stream.h"

namespace engine {

// u = (sin θd cos φb, sin θd sin φb, cos θd) for the run azimuth φb and companion polar
// angle θd (radians), with the per-type impact parameters of the detection angle.
ScatteringReference reference_direction(float run_azimuth, float companion_polar,
                                        std::span<const float> type_angle_cutoff);

struct BeamSetup {
  // The beam ion: direction of (run_polar, run_azimuth) with its slopes, F = F0, every
  // weight F0 and the hit offsets of the beam direction. A negative polar angle is stored
  // as the same direction with θ positive and φ turned by π, so that sin θ >= 0 as
  // set_direction keeps it.
  IonState ion;
  float cross_section = 0.0f;  // F0 = 1 / (c - 1)^2, c = cos θd cos θb + sin θd sin θb
  float z_start = 0.0f;        // Å: 0, or z_min - interaction_reach / sin θb when grazing
};

// `pair_count` weights and `type_count` hit offsets are sized here, once per run.
BeamSetup set_up_beam(float run_azimuth, float run_polar, float companion_polar,
                      const ScatteringReference& reference, float z_min, float interaction_reach,
                      std::int32_t pair_count, std::int32_t type_count);

// The depth (Å) at which an ion of direction d starts: 0, or z_min - interaction_reach / sin θ
// when d is grazing (a slope above 1), so that nothing within reach lies behind the start of
// a column walk.
float start_depth(const IonDirection& d, float z_min, float interaction_reach);

// Start positions: nx x ny points, spacing dx, dy (Å) over the repeat cell.
struct StartGrid {
  std::int32_t nx = 1, ny = 1;
  float dx = 0.0f, dy = 0.0f;
  std::int32_t points() const { return nx * ny; }
};

// Spacing g = sqrt(Xrep Yrep cos θb / N), q = sqrt((cos θb cos φb)^2 + sin^2 φb),
// nx = max(1, NINT(q Xrep / g)), ny = max(1, NINT(Yrep cos θb / (g q))): about N points on
// the cell's projection across the beam. N <= 0 (or a degenerate geometry) gives one point,
// at the centre of the cell; nx ny never exceeds the 32-bit range. N need not be a whole
// number.
StartGrid make_start_grid(float repeat_x, float repeat_y, float run_polar, float run_azimuth,
                          float ion_target);

// The blocking smear b = (u1 - 1/2)/180 + (u2 - 1/2)/90 (radians) from two uniform
// deviates: d becomes the direction of (sin θ cos φ - b sin φ, sin θ sin φ + b cos φ, cos θ).
void apply_azimuthal_smear(IonDirection& direction, IonStream& stream);

}  // namespace engine
