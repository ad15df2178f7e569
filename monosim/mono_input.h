// Everything monosim's simulation input holds: the groups it shares with polysim's input
// (comment, types, atoms, cell, edges, beam), the eight option flags, the correlation of
// neighbouring atoms' vibrations and every atom's rms amplitudes along x, y and z.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "polysim/simulation_input.h"

namespace monosim {

// rms vibration amplitudes of one atom along x, y and z, Å.
struct Amplitudes {
  float x = 0.0f, y = 0.0f, z = 0.0f;
  bool operator==(const Amplitudes&) const = default;
};

struct MonoInput {
  // The shared groups in polysim's form, for polysim's preparation and run schedule: one model
  // pair without model atoms, random starts (monosim always starts ions at random), no
  // overlayer; its dimension record holds N1 to N9 and the counts of that one model pair.
  // Each atom's isotropic amplitude is the largest of its three, which bounds its reach.
  polysim::SimulationInput base;
  polysim::DimensionRecord record;  // as read, printed in the result file
  std::array<std::int32_t, 8> flags{};
  float correlation_coefficient = 0.0f;  // c
  float correlation_distance = 0.0f;     // Å: atoms closer than this vibrate correlated
  std::vector<Amplitudes> amplitudes;    // atom a at a - 1

  // Flag 1: only the word printed for the start positions.
  std::int32_t start_mode() const { return flags[0]; }
  // Flag 4: 0 prints that the in- and outgoing trajectories are not connected.
  bool legs_unconnected() const { return flags[3] == 0; }
  // Flag 6: 1 switches the correlated vibrations on.
  bool correlated() const { return flags[5] == 1; }

  bool operator==(const MonoInput&) const = default;
};

}  // namespace monosim
