// The deflection table: per atom type, tan psi of the ion's laboratory deflection at impact
// parameters 0..5 Å in steps of 0.0005 Å, built for one ion energy, and the cut-off impact
// parameters read from it. The tracking code reads a deflection with one rounding and one
// array access instead of a root search and a quadrature.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/fixed_tables.h"
#include "engine/model.h"
#include "engine/rounding.h"

namespace engine {

class DeflectionTable {
 public:
  static constexpr std::int32_t kLastIndex = 10000;  // entries 0..10000 per type
  static constexpr float kStep = 0.0005f;            // Å per entry
  static constexpr float kHeadOn = -1.0e-6f;         // entry 0: just below 180 degrees

  DeflectionTable() = default;
  // `tangent` holds type_count rows of 10001 entries.
  DeflectionTable(std::int32_t type_count, float kinematic_factor, std::vector<float> tangent)
      : type_count_(type_count),
        kinematic_factor_(kinematic_factor),
        tangent_(std::move(tangent)) {}

  std::int32_t type_count() const { return type_count_; }
  // The kinematic factor (multiplier of the beam energy) the table was built for.
  float kinematic_factor() const { return kinematic_factor_; }

  // T(t, i) for type t (1-based, within 1..type_count) and i limited to 0..10000.
  float entry(std::int32_t type, std::int32_t index) const {
    const std::int32_t i = index < 0 ? 0 : (index > kLastIndex ? kLastIndex : index);
    return tangent_[row(type) + static_cast<std::size_t>(i)];
  }
  // T(t, NINT(2000 p)) for impact parameter p (Å); beyond 5 Å the entry for 5 Å.
  float at_impact(std::int32_t type, float p) const {
    return tangent_[row(type) + static_cast<std::size_t>(nint_within(2000.0f * p, 0, kLastIndex))];
  }

  bool operator==(const DeflectionTable&) const = default;

 private:
  std::size_t row(std::int32_t type) const {
    return static_cast<std::size_t>(type - 1) * (kLastIndex + 1);
  }

  std::int32_t type_count_ = 0;
  float kinematic_factor_ = 0.0f;
  std::vector<float> tangent_;
};

// The table of every atom type for an ion of the beam at kinematic_factor * ion_energy, with
// the potential of `potential_selector`. Throws PhysicsError when that energy or a mass is
// not positive and finite (a kinematic factor with no elastic solution included).
DeflectionTable build_deflection_table(const std::vector<AtomType>& types, const Beam& beam,
                                       std::int32_t potential_selector, float kinematic_factor,
                                       const FixedTables& tables);

// Per type, the cut-off impact parameter (Å) of deflection angle alpha (radians): 0.0005 k
// for the first k whose deflection psi_k = atan T(t, k) (plus pi where negative) is at
// most alpha, or 5 Å when no entry is.
std::vector<float> impact_cutoff(const DeflectionTable& table, float alpha, float pi);

}  // namespace engine
