// The partner search of one step: among the atoms of a small block of cells, each displaced
// as the policy says, the one that deflects the ion most (smallest p^2 / R_t^2) becomes the
// partner; the policy accounts the encounter and, when the partner lies within its
// interaction radius, the ion collides with it.
#pragma once

#include <cstdint>

#include "engine/collision.h"
#include "engine/ion_state.h"
#include "engine/ion_stream.h"
#include "engine/partner.h"
#include "engine/tracking_context.h"
#include "engine/tracking_policy.h"

namespace engine {

inline constexpr float kNoPartner = 1000.0f;  // the best w before any candidate

// Starts the policy's search (its deviates), examines every atom of the block (a later
// candidate wins a tie), fills in the partner's quantities across the path, lets the policy
// account it and, when w <= 1, collides. Returns kNoCollision when no candidate was found or
// the partner lies outside its radius, kCollision after a collision, kDiscarded when the
// collision could not be applied.
template <TrackingPolicy Policy>
StepResult step_to_partner(IonState& ion, const CandidateBlock& block,
                           const TrackingContext& context, const Policy& policy,
                           typename Policy::IonMemory& memory, IonStream& stream,
                           typename Policy::Tally& tally, RunCounts& counts) {
  const typename Policy::Deviates deviates = policy.start_search(ion, stream);
  ++counts.partner_searches;
  const Crystal& crystal = context.crystal;
  const float* reach_weight = context.tables.type_reach_weight.data();
  const IonDirection& d = ion.direction;
  float best = kNoPartner;
  Partner partner;
  for (const BlockAtom& cell : block.atoms) {
    const float x = ion.x + cell.shift_x;
    const float y = ion.y + cell.shift_y;
    const Atom& atom = crystal.atoms[static_cast<std::size_t>(cell.atom - 1)];
    const Candidate candidate{cell.atom, &atom, {x - atom.x, y - atom.y, ion.z - atom.z}};
    const Displacement delta = policy.examine(ion, candidate, deviates, memory, tally);
    const float rx = candidate.rel.x - delta.x;
    const float ry = candidate.rel.y - delta.y;
    const float rz = candidate.rel.z - delta.z;
    const float q1 = d.along_e1(rx, ry, rz);
    const float q2 = d.along_e2(rx, ry);
    const float p2 = q1 * q1 + q2 * q2;
    const float w = p2 * reach_weight[atom.type - 1];
    if (w <= best) {
      best = w;
      partner.atom = cell.atom;
      partner.rx = rx;
      partner.ry = ry;
      partner.rz = rz;
      partner.displacement = delta;
      partner.q1 = q1;
      partner.p2 = p2;
      partner.w = w;
      partner.rel = candidate.rel;
    }
  }
  if (partner.atom == 0) return StepResult::kNoCollision;
  const Atom& met = crystal.atoms[static_cast<std::size_t>(partner.atom - 1)];
  const Transverse& offset = ion.hit_offset[static_cast<std::size_t>(met.type - 1)];
  const Relative& rel = partner.rel;
  partner.site = {d.along_e1(rel.x, rel.y, rel.z), d.along_e2(rel.x, rel.y)};
  partner.hit = {partner.site.e1 - offset.e1, partner.site.e2 - offset.e2};
  policy.account_partner(ion, partner, deviates, memory, tally);
  if (partner.w > 1.0f) return StepResult::kNoCollision;
  return collide(ion, partner, context) ? StepResult::kCollision : StepResult::kDiscarded;
}

}  // namespace engine
