// The ion runs of a polysim run: the shadowing run along the beam and one blocking run per
// detection angle along the reversed exit direction, with the deflection-table, cut-off and
// ring-table rebuilds each needs, and the normalisation of their hit sums.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/fixed_tables.h"
#include "engine/ion_run.h"
#include "engine/random_generator.h"
#include "engine/run_tables.h"
#include "polysim/kinematic_groups.h"
#include "polysim/run_results.h"
#include "polysim/simulation_input.h"

namespace polysim {

// Ions asked of one run: INT(product) of the cosine of the run direction, the cell area and
// the flux. Throws InvalidInput when the product is not a number of ions an int can hold.
std::int32_t ion_target(double product);

// The small reference angle (radians) for which the interaction radii are computed:
// 0.1 cos(run_polar) / z_max, limited to 0.01 .. 0.1 degree (a crystal at depth 0 gets 0.1).
float reference_angle(float run_polar, float z_max, float deg_to_rad);

// The deflection table is rebuilt only when the kinematic factor moved by more than 0.02.
bool needs_new_deflection_table(float factor, float previous_factor);

// Refuses, before any ion runs, geometry for which a run would divide by zero or have no
// elastic solution: a beam or a reversed exit direction that does not point into the
// crystal, and a detection angle through which an ion of this mass cannot be scattered by
// the atoms of some type the crystal uses. Throws InvalidInput naming the angle.
void check_run_geometry(const SimulationInput& input, float pi, float deg_to_rad);

class IonRunDriver {
 public:
  // `input` must be prepared (angles in radians, coefficients derived).
  IonRunDriver(SimulationInput& input, const engine::FixedTables& fixed,
               engine::RandomGenerator& generator);

  // The tables of the shadowing run: the deflection table of the beam energy, the cut-offs
  // of the mean detection angle, the interaction radii and the ring tables.
  void prepare_shadowing();
  // The interaction radius of each atom type (Å, type t at t - 1) of the last preparation.
  std::vector<float> interaction_radii() const;
  // The shadowing run and its hitting probabilities, after prepare_shadowing.
  void run_shadowing(RunResults& results);
  // The blocking runs of detection angle j (1-based), one per kinematic group at the energy
  // of its ions, each giving the blocked yields of the atoms of its group.
  void run_blocking(std::int32_t j, RunResults& results);

  // The groups of atom types whose blocking runs share a kinematic factor.
  const std::vector<KinematicGroup>& kinematic_groups() const { return groups_; }

  std::int32_t ions_run() const { return tally_.ions_run; }
  std::int64_t total_ions() const { return total_ions_; }
  double overlayer_deflection_sum() const { return tally_.overlayer_deflection_sum; }

 private:
  // The tables of one ion energy and what decides their renewal: the factor the deflection
  // table was built for, the reference angle of the radii, and the end depth they give.
  struct EnergyTables {
    engine::RunTables tables;
    float previous_factor = 1.0f;
    float previous_reference = 0.0f;
    float z_end = 0.0f;  // Å: z_max plus the largest interaction radius so far
  };

  void build_deflection(EnergyTables& state, float factor);
  void renew_interaction_radii(EnergyTables& state, float reference);
  void launch(const EnergyTables& state);
  void run_group(std::int32_t j, std::size_t g, RunResults& results);

  SimulationInput& input_;
  const engine::FixedTables& fixed_;
  engine::RandomGenerator& generator_;
  std::vector<KinematicGroup> groups_;
  // One per kinematic group, in the order of groups_; the first serves the shadowing run too,
  // the others start from the tables of the shadowing run.
  std::vector<EnergyTables> energies_;
  engine::IonRunParameters run_;
  engine::HitTally tally_;
  std::int64_t total_ions_ = 0;
};

}  // namespace polysim
