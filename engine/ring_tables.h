// Miss-probability ring tables of the atoms that carry vibration models: for an ion path
// passing at ring distance k (0.01 k Å) from an atom's site, the probability that the
// vibrating atom lies outside the interaction radius around the path, with the reference
// amplitude (stored as its reciprocal) and with each vibration model's amplitude.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

struct Crystal;
struct ModelSet;
struct FixedTables;
struct RunTables;

struct RingTables {
  static constexpr std::int32_t kRingCount = 650;             // rings 1..650, 0.01 Å wide
  static constexpr std::int32_t kRowLength = kRingCount + 2;  // slots 0..651
  static constexpr float kFloor = 1.0e-34f;                   // smallest miss probability

  std::int32_t atom_count = 0;       // N19
  std::int32_t vibration_count = 0;  // N11
  // 1 / P_ref(a, k) at (a - 1) kRowLength + k. Slots 0 and 651 hold 1: ring indices beyond
  // 650 (paths more than 6.5 Å from the site) read factor 1.
  std::vector<float> reference_inverse;
  // P_v(a, k) at ((a - 1) kRowLength + k) N11 + (v - 1), slots 0 and 651 as above.
  std::vector<float> model_miss;
  // Per atom: the last ring computed; every table holds exactly 1 beyond it.
  std::vector<std::int32_t> last_ring;

  bool operator==(const RingTables&) const = default;

  // A ring index from FixedTables::ring_index limited to the stored slots.
  static std::int32_t slot(std::int32_t ring) { return ring > kRingCount ? kRingCount + 1 : ring; }
  float inverse_reference(std::int32_t a, std::int32_t ring) const {
    return reference_inverse[row(a) + static_cast<std::size_t>(slot(ring))];
  }
  float miss(std::int32_t a, std::int32_t ring, std::int32_t v) const {
    return miss_row(a, ring)[v - 1];
  }
  // P_v(a, ring) of the vibration models v = 1..N11, side by side.
  const float* miss_row(std::int32_t a, std::int32_t ring) const {
    return model_miss.data() + (row(a) + static_cast<std::size_t>(slot(ring))) *
                                   static_cast<std::size_t>(vibration_count);
  }
  std::size_t row(std::int32_t a) const {
    return static_cast<std::size_t>(a - 1) * static_cast<std::size_t>(kRowLength);
  }
};

// Fills tables.rings for atoms 1..N19 from the interaction radii R_t = 1 / sqrt
// (tables.type_reach_weight(t)). For each atom and ring, the miss probability is the chance
// that the displacement exceeds R - r (the site lies inside the circle) minus the Gaussian
// weight of the annulus |R - r|..R + r that falls inside the circle, by a 150-strip midpoint
// rule; it is kept at or above 1.0E-34. When 1/P_ref < 1.01 and every P_v > 0.99 the
// remaining rings of the atom are set to 1. tables.interaction_reach serves as the working
// radius and is left holding R of the type of atom N19 (unchanged when N19 = 0); the run
// driver reads it for the grazing start depth and the end depth. Throws ModelDataError when
// the model tables or the per-type radii do not fit the crystal.
void build_ring_tables(const Crystal& crystal, const ModelSet& models, const FixedTables& fixed,
                       RunTables& tables);

}  // namespace engine
