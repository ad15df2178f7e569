// The output energy axis of the kinematic correction: the source's, lengthened when needed
// so that it reaches the beam energy.
#pragma once

#include "spectools/kinecorr/column_rebin.h"

namespace spectools::kinecorr {

struct EnergyAxis {
  int base = 0;   // first channel
  int range = 0;  // channel count
};

// With top = slope * (base + range) + offset: when the beam energy lies above top the axis
// gains trunc((beam_energy - top) / slope + 20) channels, else it stays as it is. Throws
// std::domain_error when the slope is zero and std::range_error when the channel count would
// leave 1 .. INT_MAX; `spectrum` names the source in the messages.
EnergyAxis output_energy_axis(const EnergyAxis& source, const AxisScale& scale, double beam_energy,
                              const char* spectrum);

}  // namespace spectools::kinecorr
