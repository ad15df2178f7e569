// Single-linkage grouping of the atom types by their kinematic factors over the scan.
#include "polysim/kinematic_groups.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/scattering.h"

namespace polysim {

namespace {

// Largest difference of the kinematic factors of two masses over the angles; NaN when either
// has no elastic solution at some angle.
float largest_difference(float m1, float a, float b, const std::vector<float>& angles) {
  float largest = 0.0f;
  for (const float phi : angles) {
    const float d =
        std::fabs(engine::kinematic_factor(m1, a, phi) - engine::kinematic_factor(m1, b, phi));
    if (!(d <= largest)) largest = d;  // keeps a NaN
  }
  return largest;
}

std::int32_t root_of(std::vector<std::int32_t>& parent, std::int32_t t) {
  while (parent[static_cast<std::size_t>(t)] != t) t = parent[static_cast<std::size_t>(t)];
  return t;
}

}  // namespace

std::vector<KinematicGroup> kinematic_groups(const engine::Crystal& crystal, float ion_mass,
                                             const std::vector<float>& detection_angles) {
  const auto type_count = static_cast<std::int32_t>(crystal.types.size());
  std::vector<char> used(static_cast<std::size_t>(type_count) + 1, 0);
  for (const engine::Atom& atom : crystal.atoms) used[static_cast<std::size_t>(atom.type)] = 1;
  // Union of every linked pair of used types (0-based parent table over 1..N2).
  std::vector<std::int32_t> parent(static_cast<std::size_t>(type_count) + 1);
  std::iota(parent.begin(), parent.end(), 0);
  for (std::int32_t t = 1; t <= type_count; ++t)
    for (std::int32_t u = t + 1; u <= type_count; ++u) {
      if (!used[static_cast<std::size_t>(t)] || !used[static_cast<std::size_t>(u)]) continue;
      const float d =
          largest_difference(ion_mass, crystal.types[static_cast<std::size_t>(t - 1)].mass,
                             crystal.types[static_cast<std::size_t>(u - 1)].mass, detection_angles);
      if (d <= kSameKinematicFactor)
        parent[static_cast<std::size_t>(root_of(parent, u))] = root_of(parent, t);
    }
  std::vector<KinematicGroup> groups;
  std::vector<std::int32_t> group_of_root(static_cast<std::size_t>(type_count) + 1, -1);
  for (std::int32_t t = 1; t <= type_count; ++t) {
    if (!used[static_cast<std::size_t>(t)]) continue;
    std::int32_t& g = group_of_root[static_cast<std::size_t>(root_of(parent, t))];
    if (g < 0) {
      g = static_cast<std::int32_t>(groups.size());
      groups.emplace_back();
      groups.back().member.assign(crystal.atoms.size(), 0);
    }
    groups[static_cast<std::size_t>(g)].types.push_back(t);
  }
  for (std::size_t a = 0; a < crystal.atoms.size(); ++a) {
    const std::int32_t type = crystal.atoms[a].type;
    KinematicGroup& group = groups[static_cast<std::size_t>(
        group_of_root[static_cast<std::size_t>(root_of(parent, type))])];
    group.member[a] = 1;
    group.mass_type = type;  // the last atom of the group decides
  }
  if (!crystal.atoms.empty()) {
    const std::int32_t last = crystal.atoms.back().type;
    const auto first = std::find_if(groups.begin(), groups.end(), [last](const KinematicGroup& g) {
      return std::find(g.types.begin(), g.types.end(), last) != g.types.end();
    });
    std::rotate(groups.begin(), first, first + 1);
  }
  return groups;
}

}  // namespace polysim
