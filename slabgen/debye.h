// Thermal vibration amplitudes of the Debye model.
#pragma once

namespace slabgen {

// The one-dimensional rms thermal displacement (Å) of an atom of `mass` amu at `temperature`
// K in a crystal of Debye temperature `debye_temperature` K:
//   <u_x^2> = 3 hbar^2 T / (M k Theta^2) [Phi(Theta/T) + Theta/(4T)],
//   Phi(x) = (1/x) integral_0^x t / (e^t - 1) dt,
// the Debye-Waller factor B = 8 pi^2 <u_x^2> = 6 h^2 T / (M k Theta^2) [Phi(x) + x/4] in
// B. T. M. Willis and A. W. Pryor, Thermal Vibrations in Crystallography (Cambridge
// University Press, 1975). Theta/(4T) is the zero-point motion; at T = 0 only it remains,
// <u_x^2> = 3 hbar^2 / (4 M k Theta).
double debye_rms_amplitude(double mass, double temperature, double debye_temperature);

// Phi(x) above; Phi(0) = 1.
double debye_function(double x);

}  // namespace slabgen
