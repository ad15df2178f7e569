// Lengthening of the energy axis up to the beam energy.
#include "spectools/kinecorr/energy_axis.h"
#include "spectools/frame/numbers.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace spectools::kinecorr {
namespace {

// Channels added beyond the beam energy, so that the elastic line sits inside the axis.
constexpr double kMarginChannels = 20.0;

}  // namespace

EnergyAxis output_energy_axis(const EnergyAxis& source, const AxisScale& scale, double beam_energy,
                              const char* spectrum) {
  if (scale.slope == 0.0) {
    throw std::domain_error(std::string("energy slope 0 of spectrum ") + spectrum +
                            ": calibration record 2 gives no energy scale");
  }
  const double top = scale.slope * (static_cast<double>(source.base) + source.range) + scale.offset;
  if (!(beam_energy > top)) return source;
  const double range =
      source.range + std::trunc((beam_energy - top) / scale.slope + kMarginChannels);
  if (!(range >= 1.0 && range <= INT_MAX)) {
    throw std::range_error("beam energy " + spectools::number_text(beam_energy) +
                           " needs an energy axis of " + spectools::number_text(range) +
                           " channels");
  }
  return {source.base, static_cast<int>(range)};
}

}  // namespace spectools::kinecorr
