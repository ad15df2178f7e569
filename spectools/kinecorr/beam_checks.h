// The beam of a kinematic correction and the checks made on it before a target is created.
#pragma once

#include "spectools/kinecorr/column_rebin.h"

namespace spectools::kinecorr {

struct Beam {
  double energy = 0.0;        // units of the energy calibration
  double mass = 0.0;          // M1, amu
  double target_mass = 0.0;   // M2, amu
  double angle_offset = 0.0;  // degrees added to the angle calibration
};

// Angle in degrees of absolute channel `channel` of axis 1.
double angle_at(const AxisScale& angle, int channel);

// Throws std::domain_error naming a mass that is zero or below.
void require_positive_masses(const Beam& beam);

// Throws std::domain_error naming the first of the `channels` angle columns from
// `first_channel` without an elastic solution (M1 sin(theta) > M2, or an angle that is not
// a finite number).
void require_elastic_solutions(const Beam& beam, int first_channel, int channels,
                               const AxisScale& angle);

}  // namespace spectools::kinecorr
