// Beam direction, start depth and start grid of an ion run, and the blocking smear. The
// trigonometric values are taken on 32-bit reals.
#include "engine/beam_setup.h"

#include <cmath>
#include <limits>

#include "engine/rounding.h"

namespace engine {

namespace {

constexpr float kSmearX = 0.00555555522f;  // 1/180 in 32-bit
constexpr float kSmearY = 0.0111111104f;   // 1/90 in 32-bit
constexpr std::int32_t kMostPoints = std::numeric_limits<std::int32_t>::max();

IonDirection direction_of_angles(float polar, float azimuth) {
  IonDirection d;
  d.cos_theta = std::cos(polar);
  d.sin_theta = std::sin(polar);
  d.cos_phi = std::cos(azimuth);
  d.sin_phi = std::sin(azimuth);
  if (d.sin_theta < 0.0f) {
    d.sin_theta = -d.sin_theta;
    d.cos_phi = -d.cos_phi;
    d.sin_phi = -d.sin_phi;
  }
  d.cos_theta_cos_phi = d.cos_theta * d.cos_phi;
  d.cos_theta_sin_phi = d.cos_theta * d.sin_phi;
  d.sin_theta_cos_phi = d.sin_theta * d.cos_phi;
  d.sin_theta_sin_phi = d.sin_theta * d.sin_phi;
  derive_slopes(d);
  return d;
}

}  // namespace

ScatteringReference reference_direction(float run_azimuth, float companion_polar,
                                        std::span<const float> type_angle_cutoff) {
  const float sin_d = std::sin(companion_polar);
  return {sin_d * std::cos(run_azimuth), sin_d * std::sin(run_azimuth), std::cos(companion_polar),
          type_angle_cutoff};
}

BeamSetup set_up_beam(float run_azimuth, float run_polar, float companion_polar,
                      const ScatteringReference& reference, float z_min, float interaction_reach,
                      std::int32_t pair_count, std::int32_t type_count) {
  BeamSetup beam;
  IonState& ion = beam.ion;
  ion.direction = direction_of_angles(run_polar, run_azimuth);
  ion.weight.assign(static_cast<std::size_t>(pair_count), 1.0f);
  ion.hit_offset.assign(static_cast<std::size_t>(type_count), Transverse{});
  ion.cross_section = 1.0f;
  const float c = std::cos(companion_polar) * std::cos(run_polar) +
                  std::sin(companion_polar) * std::sin(run_polar);
  set_reference_terms(ion, reference, c);  // weights 1 -> F0
  beam.cross_section = ion.cross_section;
  beam.z_start = start_depth(ion.direction, z_min, interaction_reach);
  return beam;
}

float start_depth(const IonDirection& d, float z_min, float interaction_reach) {
  if (d.abs_slope_x > 1.0f || d.abs_slope_y > 1.0f) return z_min - interaction_reach / d.sin_theta;
  return 0.0f;
}

StartGrid make_start_grid(float repeat_x, float repeat_y, float run_polar, float run_azimuth,
                          float ion_target) {
  const float cos_polar = std::cos(run_polar);
  const float cos_azimuth = std::cos(run_azimuth);
  const float sin_azimuth = std::sin(run_azimuth);
  const float spacing = std::sqrt(repeat_x * repeat_y * cos_polar / ion_target);
  const float q =
      std::sqrt((cos_polar * cos_azimuth) * (cos_polar * cos_azimuth) + sin_azimuth * sin_azimuth);
  StartGrid grid;
  grid.nx = nint_within(q * repeat_x / spacing, 1, kMostPoints);
  grid.ny = nint_within(repeat_y * cos_polar / (spacing * q), 1, kMostPoints / grid.nx);
  grid.dx = repeat_x / static_cast<float>(grid.nx);
  grid.dy = repeat_y / static_cast<float>(grid.ny);
  return grid;
}

void apply_azimuthal_smear(IonDirection& direction, IonStream& stream) {
  const double u1 = stream.uniform_deviate();
  const double u2 = stream.uniform_deviate();
  const auto b = static_cast<float>((u1 - 0.5) * kSmearX + (u2 - 0.5) * kSmearY);
  set_direction(direction, direction.sin_theta_cos_phi - b * direction.sin_phi,
                direction.sin_theta_sin_phi + b * direction.cos_phi, direction.cos_theta);
}

}  // namespace engine
