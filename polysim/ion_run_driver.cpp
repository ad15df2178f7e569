// The shadowing and blocking runs of polysim.
#include "polysim/ion_run_driver.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "engine/deflection_table.h"
#include "engine/launch_ions.h"
#include "engine/ring_tables.h"
#include "engine/scattering.h"
#include "polysim/input_checks.h"
#include "polysim/run_normalisation.h"

namespace polysim {

namespace {

constexpr float kRebuildThreshold = 0.02f;  // change of kinematic factor that renews tables

std::string number(float value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

std::string degrees(float radians, float deg_to_rad) {
  return number(radians / deg_to_rad);
}

// Whether an ion of mass m1 can be scattered elastically through phi by a target atom of mass
// m2: the root a + sqrt(a^2 + b) of the kinematic factor must be real and positive. The square
// alone stays finite for an ion of the target's mass beyond 90 degree (0) and for a heavier
// ion near 180 degree (the negative root), where no collision scatters so far.
bool elastic_solution(float m1, float m2, float phi) {
  const float a = m1 * std::cos(phi) / (m1 + m2);
  const float b = (m2 - m1) / (m1 + m2);
  return a + std::sqrt(a * a + b) > 0.0f;
}

float blocking_run_polar(const SimulationInput& input, float pi, float phi) {
  return (pi - input.beam.polar_angle) - phi;
}

}  // namespace

std::int32_t ion_target(double product) {
  if (!(product < 2147483648.0) || !(product > -2147483649.0)) {
    std::ostringstream text;
    text << "Ions asked for one run: " << product << ", more than 2147483647";
    throw InvalidInput(text.str());
  }
  return static_cast<std::int32_t>(product);
}

float reference_angle(float run_polar, float z_max, float deg_to_rad) {
  const float lowest = 0.01f * deg_to_rad;
  const float highest = 0.1f * deg_to_rad;
  const float r = 0.1f * std::cos(run_polar) / z_max;
  if (std::isnan(r) || r > highest) return highest;
  return r < lowest ? lowest : r;
}

bool needs_new_deflection_table(float factor, float previous_factor) {
  return std::fabs(factor - previous_factor) > kRebuildThreshold;
}

void check_run_geometry(const SimulationInput& input, float pi, float deg_to_rad) {
  const engine::Beam& beam = input.beam;
  if (!(std::cos(beam.polar_angle) > 0.0f))
    throw InvalidInput("polar_angle = " + degrees(beam.polar_angle, deg_to_rad) +
                       " degree, the beam must point into the crystal (below 90 degree)");
  const float m1 = beam.ion_mass;
  const engine::Crystal& crystal = input.crystal;
  std::vector<char> used(crystal.types.size(), 0);
  for (const engine::Atom& atom : crystal.atoms) used[static_cast<std::size_t>(atom.type - 1)] = 1;
  for (std::size_t j = 0; j < beam.detection_angles.size(); ++j) {
    const float phi = beam.detection_angles[j];
    const std::string which =
        "Detection angle " + std::to_string(j + 1) + " = " + degrees(phi, deg_to_rad) + " degree";
    if (!(std::cos(blocking_run_polar(input, pi, phi)) > 0.0f))
      throw InvalidInput(which + ": the exit direction does not leave through the surface");
    for (std::size_t t = 0; t < crystal.types.size(); ++t) {
      const float m2 = crystal.types[t].mass;
      if (used[t] &&
          (!elastic_solution(m1, m2, phi) || !std::isfinite(engine::kinematic_factor(m1, m2, phi))))
        throw InvalidInput(which + ": an ion of mass " + number(m1) +
                           " cannot be scattered this far by a target atom of mass " + number(m2));
    }
  }
}

IonRunDriver::IonRunDriver(SimulationInput& input, const engine::FixedTables& fixed,
                           engine::RandomGenerator& generator)
    : input_(input),
      fixed_(fixed),
      generator_(generator),
      groups_(polysim::kinematic_groups(input.crystal, input.beam.ion_mass,
                                        input.beam.detection_angles)),
      energies_(std::max<std::size_t>(groups_.size(), 1)),
      tally_(input.models.vibration_count, input.models.structure_count,
             static_cast<std::int32_t>(input.crystal.atoms.size())) {
  run_.start_mode = input.options.start_mode;
  run_.overlayer_flag = input.options.overlayer_flag;
  run_.overlayer_type = input.options.overlayer_type;
  run_.overlayer_density = input.options.overlayer_density;
}

void IonRunDriver::build_deflection(EnergyTables& state, float factor) {
  state.tables.deflection = engine::build_deflection_table(
      input_.crystal.types, input_.beam, input_.options.potential_selector, factor, fixed_);
  state.previous_factor = factor;
}

// The per-type interaction radii for a small reference angle: an atom that would deflect the
// ion by less is never a partner. The end depth lies the largest radius below the deepest
// atom, and the ring tables follow the radii.
void IonRunDriver::renew_interaction_radii(EnergyTables& state, float reference) {
  engine::RunTables& tables = state.tables;
  const std::vector<float> radii = engine::impact_cutoff(tables.deflection, reference, fixed_.pi);
  float reach = tables.interaction_reach;
  tables.type_reach_weight.resize(radii.size());
  for (std::size_t t = 0; t < radii.size(); ++t) {
    reach = std::max(reach, radii[t]);
    tables.type_reach_weight[t] = 1.0f / (radii[t] * radii[t]);
  }
  tables.interaction_reach = reach;
  state.z_end = input_.crystal.z_max + reach;
  engine::build_ring_tables(input_.crystal, input_.models, fixed_, tables);
  state.previous_reference = reference;
}

// The end depth is the state's own: several groups keep different radii.
void IonRunDriver::launch(const EnergyTables& state) {
  input_.crystal.z_edges.back() = state.z_end;
  engine::launch_ions(input_.crystal, input_.models, fixed_, state.tables, run_, generator_,
                      tally_);
  total_ions_ += tally_.ions_run;
}

void IonRunDriver::prepare_shadowing() {
  const engine::Beam& beam = input_.beam;
  EnergyTables& state = energies_.front();
  run_.angle_index = 0;
  run_.run_azimuth = beam.azimuth;
  run_.run_polar = beam.polar_angle;
  const float mean_angle = (beam.detection_angles.front() + beam.detection_angles.back()) / 2.0f;
  run_.companion_polar = mean_angle + beam.polar_angle;
  build_deflection(state, 1.0f);
  state.tables.type_angle_cutoff =
      engine::impact_cutoff(state.tables.deflection, mean_angle, fixed_.pi);
  renew_interaction_radii(state,
                          reference_angle(run_.run_polar, input_.crystal.z_max, fixed_.deg_to_rad));
  // Every group's blocking runs start from the tables of the beam energy.
  std::fill(energies_.begin() + 1, energies_.end(), state);
}

std::vector<float> IonRunDriver::interaction_radii() const {
  std::vector<float> radii;
  for (const float weight : energies_.front().tables.type_reach_weight)
    radii.push_back(1.0f / std::sqrt(weight));
  return radii;
}

void IonRunDriver::run_shadowing(RunResults& results) {
  const engine::Beam& beam = input_.beam;
  const engine::Crystal& crystal = input_.crystal;
  std::fill(tally_.hit_sum.begin(), tally_.hit_sum.end(), 0.0);
  if (run_.overlayer()) tally_.overlayer_deflection_sum = 0.0;
  run_.ion_target = ion_target(std::cos(beam.polar_angle) * beam.shadow_flux * crystal.repeat_y *
                               crystal.repeat_x);
  launch(energies_.front());
  const float divisor = hit_divisor(tally_, crystal, run_.run_polar, fixed_.pi);
  normalise_shadowing(tally_, crystal, input_.models, divisor, results);
}

void IonRunDriver::run_blocking(std::int32_t j, RunResults& results) {
  const engine::Beam& beam = input_.beam;
  const engine::Crystal& crystal = input_.crystal;
  const float phi = beam.detection_angles[static_cast<std::size_t>(j - 1)];
  run_.angle_index = j;
  run_.run_azimuth = beam.azimuth + fixed_.pi;
  run_.companion_polar = fixed_.pi - beam.polar_angle;
  run_.run_polar = run_.companion_polar - phi;
  run_.ion_target =
      ion_target(std::cos(run_.run_polar) * crystal.repeat_y * crystal.repeat_x * beam.block_flux);
  for (std::size_t g = 0; g < groups_.size(); ++g) run_group(j, g, results);
}

// The blocking run of group g at angle j: ions of the energy K E that an atom of the group's
// mass gives them, with that energy's tables; only the group's atoms take their yields.
void IonRunDriver::run_group(std::int32_t j, std::size_t g, RunResults& results) {
  const engine::Crystal& crystal = input_.crystal;
  const KinematicGroup& group = groups_[g];
  EnergyTables& state = energies_[g];
  const float phi = input_.beam.detection_angles[static_cast<std::size_t>(j - 1)];
  const float mass = crystal.types[static_cast<std::size_t>(group.mass_type - 1)].mass;
  const float factor = engine::kinematic_factor(input_.beam.ion_mass, mass, phi);
  const bool renewed = needs_new_deflection_table(factor, state.previous_factor);
  if (renewed) build_deflection(state, factor);
  state.tables.type_angle_cutoff = engine::impact_cutoff(state.tables.deflection, phi, fixed_.pi);
  const float reference = reference_angle(run_.run_polar, crystal.z_max, fixed_.deg_to_rad);
  if (renewed || std::fabs(reference - state.previous_reference) > 0.01f * fixed_.deg_to_rad)
    renew_interaction_radii(state, reference);
  launch(state);
  const float divisor = hit_divisor(tally_, crystal, run_.run_polar, fixed_.pi);
  normalise_blocking(tally_, crystal, input_.models, divisor, j, results, group.member);
}

}  // namespace polysim
