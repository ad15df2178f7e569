// Atom types grouped by the energy their outgoing ions carry: a blocking run traces ions of
// one energy, K E, so each group of types with nearly equal kinematic factors K gets a
// blocking run of its own at every detection angle.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/model.h"

namespace polysim {

// Types whose kinematic factors differ by at most this much share a blocking run: the same
// change of the factor within which a deflection table is reused.
inline constexpr float kSameKinematicFactor = 0.02f;

struct KinematicGroup {
  std::vector<std::int32_t> types;  // 1-based atom types, ascending
  // The type whose mass sets the kinematic factor of the group's blocking runs: for the group
  // of the last atom's type that type, otherwise the type of the last atom of the group.
  std::int32_t mass_type = 0;
  std::vector<char> member;  // per atom (atom a at a - 1): its type belongs to the group
  bool operator==(const KinematicGroup&) const = default;
};

// The types that crystal atoms use, linked when the largest difference of their kinematic
// factors over the detection angles (radians) is at most kSameKinematicFactor and grouped by
// single linkage; a difference that is not a number links nothing. The groups are fixed for
// the whole run. The group of the last atom's type comes first, the others follow in the
// order of their first type. A crystal without atoms has no groups.
std::vector<KinematicGroup> kinematic_groups(const engine::Crystal& crystal, float ion_mass,
                                             const std::vector<float>& detection_angles);

}  // namespace polysim
