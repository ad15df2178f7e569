// Collisions in the amorphous overlayer: each adds a transverse deflection to the ion
// direction, looked up in the deflection table of the overlayer atom type.
#include "engine/overlayer.h"

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

constexpr float kPerSquareCm = 1.0e-16f;        // Å^2 per cm^2
constexpr float kCollisionsPerDensity = 6.25f;  // collisions per (atom/Å^2) along the path
constexpr float kMostCollisions = 1.0e6f;

}  // namespace

OverlayerSetup set_up_overlayer(float density, float cos_polar, std::int32_t type) {
  OverlayerSetup overlayer;
  overlayer.type = type;
  const float along_path = density * kPerSquareCm / cos_polar;  // atoms/Å^2
  if (!(along_path > 0.0f) || !std::isfinite(along_path)) return overlayer;
  const float collisions =
      std::min(std::trunc(kCollisionsPerDensity * along_path), kMostCollisions);
  overlayer.collisions = static_cast<std::int32_t>(collisions) + 1;
  overlayer.side = std::sqrt(static_cast<float>(overlayer.collisions) / along_path);
  return overlayer;
}

bool pass_overlayer(IonDirection& direction, const OverlayerSetup& overlayer,
                    const DeflectionTable& deflection, IonStream& stream, double& deflection_sum) {
  const IonDirection first = direction;
  for (std::int32_t n = 0; n < overlayer.collisions; ++n) {
    const auto b1 = static_cast<float>((stream.uniform_deviate() - 0.5) * overlayer.side);
    const auto b2 = static_cast<float>((stream.uniform_deviate() - 0.5) * overlayer.side);
    const float p = std::sqrt(b1 * b1 + b2 * b2);
    float a1 = 0.0f, a2 = 0.0f;
    if (p > 0.0f) {
      const float t = deflection.at_impact(overlayer.type, p);
      a1 = t * b1 / p;
      a2 = t * b2 / p;
    }
    const IonDirection& d = direction;
    if (d.cos_theta - a1 * d.sin_theta <= 0.0f) return false;
    set_direction(direction, d.sin_theta_cos_phi + a1 * d.cos_theta_cos_phi - a2 * d.sin_phi,
                  d.sin_theta_sin_phi + a1 * d.cos_theta_sin_phi + a2 * d.cos_phi, d.cos_theta);
  }
  const IonDirection& d = direction;
  const float cosine = d.sin_theta_cos_phi * first.sin_theta_cos_phi +
                       d.sin_theta_sin_phi * first.sin_theta_sin_phi +
                       d.cos_theta * first.cos_theta;
  const float chi = std::acos(std::clamp(cosine, -1.0f, 1.0f));
  deflection_sum += chi * chi;
  return true;
}

}  // namespace engine
