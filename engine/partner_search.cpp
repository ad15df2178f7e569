// The partner search: at most eight candidate atoms per step, each at its site plus σ_j
// times the step's shared deviates; distances across the path decide.
#include "engine/partner_search.h"

#include "engine/collision.h"
#include "engine/hit_accounting.h"

namespace engine {

namespace {

constexpr float kNoPartner = 1000.0f;  // the best w before any candidate

struct Relative {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

}  // namespace

StepResult step_to_partner(IonState& ion, const CandidateBlock& block,
                           const TrackingContext& context, RandomGenerator& generator,
                           HitTally& tally) {
  const SearchDisplacement deviates(context.fixed, generator);
  ++tally.partner_searches;
  const Crystal& crystal = context.crystal;
  const float* reach_weight = context.tables.type_reach_weight.data();
  const IonDirection& d = ion.direction;
  float best = kNoPartner;
  Partner partner;
  Relative rel;
  const std::int32_t* cell_map = crystal.cell_atom.data();
  for (const CellView& xc : block.x) {
    const float x = ion.x + xc.shift;
    for (const CellView& yc : block.y) {
      const float y = ion.y + yc.shift;
      const std::size_t column = xc.offset + yc.offset;
      for (const std::size_t layer : block.layers) {
        const std::int32_t a = cell_map[column + layer];
        if (a == 0) continue;
        const Atom& atom = crystal.atoms[static_cast<std::size_t>(a - 1)];
        const Relative candidate{x - atom.x, y - atom.y, ion.z - atom.z};
        const Displacement delta = deviates.of(atom.sigma);
        const float rx = candidate.x - delta.x;
        const float ry = candidate.y - delta.y;
        const float rz = candidate.z - delta.z;
        const float q1 = d.along_e1(rx, ry, rz);
        const float q2 = d.along_e2(rx, ry);
        const float p2 = q1 * q1 + q2 * q2;
        const float w = p2 * reach_weight[atom.type - 1];
        if (w <= best) {
          best = w;
          rel = candidate;
          partner.atom = a;
          partner.rx = rx;
          partner.ry = ry;
          partner.rz = rz;
          partner.displacement = delta;
          partner.q1 = q1;
          partner.p2 = p2;
          partner.w = w;
        }
      }
    }
  }
  if (partner.atom == 0) return StepResult::kNoCollision;
  const Atom& met = crystal.atoms[static_cast<std::size_t>(partner.atom - 1)];
  const Transverse& offset = ion.hit_offset[static_cast<std::size_t>(met.type - 1)];
  partner.site = {d.along_e1(rel.x, rel.y, rel.z), d.along_e2(rel.x, rel.y)};
  partner.hit = {partner.site.e1 - offset.e1, partner.site.e2 - offset.e2};
  const Displacement& delta = partner.displacement;
  partner.shift = {d.along_e1(delta.x, delta.y, delta.z), d.along_e2(delta.x, delta.y)};
  account_partner(ion, partner, context, tally);
  if (partner.w > 1.0f) return StepResult::kNoCollision;
  return collide(ion, partner, context) ? StepResult::kCollision : StepResult::kDiscarded;
}

}  // namespace engine
