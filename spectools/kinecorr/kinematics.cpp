// The kinematic factor of elastic scattering.
#include "spectools/kinecorr/kinematics.h"

#include <cmath>

namespace spectools::kinecorr {
namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

}  // namespace

double elastic_radicand(double beam_mass, double target_mass, double angle_deg) {
  const double sine = std::sin(angle_deg * kRadiansPerDegree);
  return target_mass * target_mass - beam_mass * beam_mass * sine * sine;
}

double kineCorr(double beam_mass, double target_mass, double angle_deg) {
  const double t = angle_deg * kRadiansPerDegree;
  const double root = std::sqrt(elastic_radicand(beam_mass, target_mass, angle_deg));
  const double ratio = (beam_mass * std::cos(t) + root) / (beam_mass + target_mass);
  return ratio * ratio;
}

}  // namespace spectools::kinecorr
