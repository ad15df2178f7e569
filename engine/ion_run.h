// What the run driver hands to one ion run, and what the run leaves for it: the run's
// direction and options, and the tallies (hit sums per model pair and atom, overlayer
// deflections, ions started, angular normalisation).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

struct IonRunParameters {
  float run_azimuth = 0.0f;      // radians: azimuth along which ions are started
  float run_polar = 0.0f;        // radians: polar angle along which ions are started
  float companion_polar = 0.0f;  // radians: polar angle of the reference direction u
  // Ions asked for, a 32-bit real: polysim asks for the INT of its product, monosim for the
  // product itself; the start grid's spacing is computed from this value.
  float ion_target = 0.0f;
  // 0 for the shadowing run, j for the blocking run of detection angle j; any nonzero value
  // turns on the azimuthal smear of blocking runs.
  std::int32_t angle_index = 0;
  std::int32_t start_mode = 0;      // 0 regular grid of start positions, else random
  std::int32_t overlayer_flag = 0;  // 1: ions cross an amorphous overlayer first
  std::int32_t overlayer_type = 0;  // atom type of the overlayer (1-based)
  float overlayer_density = 0.0f;   // atoms/cm^2
  // Å per type (type t at t - 1): the impact parameter that deflects the ion by the run's
  // detection angle, the distance of the hit point from an atom's site.
  std::vector<float> type_angle_cutoff;

  bool blocking() const { return angle_index != 0; }
  bool overlayer() const { return overlayer_flag == 1; }
  bool operator==(const IonRunParameters&) const = default;
};

// The additive sums of ion runs: launch_ions adds to them and to nothing else, so the sums
// of parts of a run can be added in a fixed order. The sums are double: a run adds millions of
// small terms to each, and a 32-bit sum would lose them once it is 2^24 times larger than a
// term (the hitting probability would fall with the flux).
struct HitSums {
  HitSums() = default;
  HitSums(std::int32_t vibrations, std::int32_t structures, std::int32_t atoms)
      : vibration_count(vibrations),
        structure_count(structures),
        atom_count(atoms),
        hit_sum(static_cast<std::size_t>(vibrations) * static_cast<std::size_t>(structures) *
                    static_cast<std::size_t>(atoms),
                0.0) {}

  std::int32_t vibration_count = 0;  // N11
  std::int32_t structure_count = 0;  // N10
  std::int32_t atom_count = 0;       // N1
  // HIT(v, s, a), weighted Gaussian densities of the atoms' positions (1/Å^2 scaled as the
  // Gaussian coefficients), at ((a - 1) N10 + (s - 1)) N11 + (v - 1): one atom's model pairs
  // lie together, in the order of the ion's weights.
  std::vector<double> hit_sum;
  double overlayer_deflection_sum = 0.0;  // squared overlayer deflection angles, rad^2
  std::int64_t partner_searches = 0;      // partner searches made, for diagnostics

  std::size_t index(std::int32_t v, std::int32_t s, std::int32_t a) const {
    return (static_cast<std::size_t>(a - 1) * static_cast<std::size_t>(structure_count) +
            static_cast<std::size_t>(s - 1)) *
               static_cast<std::size_t>(vibration_count) +
           static_cast<std::size_t>(v - 1);
  }
  double& hit(std::int32_t v, std::int32_t s, std::int32_t a) { return hit_sum[index(v, s, a)]; }
  double hit(std::int32_t v, std::int32_t s, std::int32_t a) const {
    return hit_sum[index(v, s, a)];
  }
  bool operator==(const HitSums&) const = default;
};

// What one ion run is, as opposed to what it found: set by launch_ions, not summed.
struct RunFacts {
  std::int32_t ions_run = 0;  // grid points of the run, at least 1
  float hit_norm = 0.0f;      // F0 = 1 / (cos ψ - 1)^2 of the run direction
  bool operator==(const RunFacts&) const = default;
};

// One ion run's tally: launch_ions adds to the sums and sets the facts; resetting is the
// caller's.
struct HitTally : HitSums, RunFacts {
  using HitSums::HitSums;
};

}  // namespace engine
