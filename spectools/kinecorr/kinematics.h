// Elastic binary-collision kinematics: the fraction of its energy that an ion of mass M1
// keeps after scattering through the laboratory angle theta from an atom of mass M2.
#pragma once

namespace spectools::kinecorr {

// Radicand M2^2 - M1^2 sin^2(theta) of the kinematic factor; below zero (M1 sin theta > M2)
// there is no elastic solution at that angle. Angles in degrees, masses in amu.
double elastic_radicand(double beam_mass, double target_mass, double angle_deg);

// K = ((M1 cos t + sqrt(M2^2 - M1^2 sin^2 t)) / (M1 + M2))^2, t = theta in radians. For
// positive masses with an elastic solution, K lies in [0, 1].
double kineCorr(double beam_mass, double target_mass, double angle_deg);

}  // namespace spectools::kinecorr
