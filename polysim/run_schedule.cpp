// The per-run parameters and tables of a simulation, in the order of a sequential run.
#include "polysim/run_schedule.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include "engine/deflection_table.h"
#include "engine/ring_tables.h"
#include "engine/scattering.h"
#include "polysim/input_checks.h"

namespace polysim {

namespace {

constexpr float kRebuildThreshold = 0.02f;  // change of kinematic factor that renews tables
constexpr float kReferenceMove = 0.01f;     // degree: a move of the reference angle that renews

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

// Where a group's tables stand after the runs so far: the shared tables, the factor of their
// deflection table and the reference angle of their radii.
struct GroupTables {
  std::shared_ptr<const engine::RunTables> tables;
  float previous_factor = 1.0f;
  float previous_reference = 0.0f;
};

class ScheduleBuilder {
 public:
  ScheduleBuilder(const SimulationInput& input, const engine::ModelSet& models,
                  const engine::FixedTables& fixed)
      : input_(input), models_(models), fixed_(fixed) {}

  engine::IonRunParameters base_parameters() const {
    engine::IonRunParameters run;
    run.start_mode = input_.options.start_mode;
    run.overlayer_flag = input_.options.overlayer_flag;
    run.overlayer_type = input_.options.overlayer_type;
    run.overlayer_density = input_.options.overlayer_density;
    return run;
  }

  engine::DeflectionTable deflection(float factor) const {
    return engine::build_deflection_table(input_.crystal.types, input_.beam,
                                          input_.options.potential_selector, factor, fixed_);
  }

  void renew_radii(engine::RunTables& tables, GroupTables& state, float reference) const {
    tables = with_interaction_radii(std::move(tables), reference, input_.crystal, models_, fixed_);
    state.previous_reference = reference;
  }

  // The shadowing run: the beam energy, the cut-offs of the mean detection angle.
  ScheduledRun shadowing(GroupTables& state) const {
    const engine::Beam& beam = input_.beam;
    const engine::Crystal& crystal = input_.crystal;
    ScheduledRun run{base_parameters(), nullptr, 0};
    run.parameters.run_azimuth = beam.azimuth;
    run.parameters.run_polar = beam.polar_angle;
    const float mean_angle = (beam.detection_angles.front() + beam.detection_angles.back()) / 2.0f;
    run.parameters.companion_polar = mean_angle + beam.polar_angle;
    run.parameters.ion_target = static_cast<float>(ion_target(
        std::cos(beam.polar_angle) * beam.shadow_flux * crystal.repeat_y * crystal.repeat_x));
    engine::RunTables tables;
    tables.deflection = deflection(1.0f);
    state.previous_factor = 1.0f;
    run.parameters.type_angle_cutoff =
        engine::impact_cutoff(tables.deflection, mean_angle, fixed_.pi);
    renew_radii(tables, state, reference_angle(beam.polar_angle, crystal.z_max, fixed_.deg_to_rad));
    state.tables = std::make_shared<const engine::RunTables>(std::move(tables));
    run.tables = state.tables;
    return run;
  }

  // The blocking run of group g at angle j (`run` holds the angle's direction): ions of the
  // energy K E that an atom of the group's mass gives them, with that energy's tables.
  ScheduledRun blocking(engine::IonRunParameters run, const KinematicGroup& group, std::size_t g,
                        GroupTables& state) const {
    const engine::Crystal& crystal = input_.crystal;
    const float phi = input_.beam.detection_angles[static_cast<std::size_t>(run.angle_index - 1)];
    const float mass = crystal.types[static_cast<std::size_t>(group.mass_type - 1)].mass;
    const float factor = engine::kinematic_factor(input_.beam.ion_mass, mass, phi);
    const bool renewed = needs_new_deflection_table(factor, state.previous_factor);
    const float reference = reference_angle(run.run_polar, crystal.z_max, fixed_.deg_to_rad);
    const bool moved =
        std::fabs(reference - state.previous_reference) > kReferenceMove * fixed_.deg_to_rad;
    if (renewed || moved) {
      engine::RunTables tables = *state.tables;
      if (renewed) {
        tables.deflection = deflection(factor);
        state.previous_factor = factor;
      }
      renew_radii(tables, state, reference);
      state.tables = std::make_shared<const engine::RunTables>(std::move(tables));
    }
    run.type_angle_cutoff = engine::impact_cutoff(state.tables->deflection, phi, fixed_.pi);
    return {std::move(run), state.tables, g};
  }

  // The direction and ion target shared by the groups' runs at angle j.
  engine::IonRunParameters blocking_direction(std::int32_t j) const {
    const engine::Beam& beam = input_.beam;
    const engine::Crystal& crystal = input_.crystal;
    engine::IonRunParameters run = base_parameters();
    run.angle_index = j;
    run.run_azimuth = beam.azimuth + fixed_.pi;
    run.companion_polar = fixed_.pi - beam.polar_angle;
    run.run_polar = run.companion_polar - beam.detection_angles[static_cast<std::size_t>(j - 1)];
    run.ion_target = static_cast<float>(ion_target(std::cos(run.run_polar) * crystal.repeat_y *
                                                   crystal.repeat_x * beam.block_flux));
    return run;
  }

 private:
  const SimulationInput& input_;
  const engine::ModelSet& models_;
  const engine::FixedTables& fixed_;
};

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

engine::RunTables with_interaction_radii(engine::RunTables tables, float reference,
                                         const engine::Crystal& crystal,
                                         const engine::ModelSet& models,
                                         const engine::FixedTables& fixed) {
  const std::vector<float> radii = engine::impact_cutoff(tables.deflection, reference, fixed.pi);
  float reach = tables.interaction_reach;
  tables.type_reach_weight.resize(radii.size());
  for (std::size_t t = 0; t < radii.size(); ++t) {
    reach = std::max(reach, radii[t]);
    tables.type_reach_weight[t] = 1.0f / (radii[t] * radii[t]);
  }
  tables.interaction_reach = reach;
  tables.z_end = crystal.z_max + reach;
  engine::build_ring_tables(crystal, models, fixed, tables);
  return tables;
}

RunSchedule build_schedule(const SimulationInput& input, const engine::ModelSet& models,
                           const std::vector<KinematicGroup>& groups,
                           const engine::FixedTables& fixed) {
  const ScheduleBuilder builder(input, models, fixed);
  RunSchedule schedule;
  GroupTables beam_energy;
  schedule.shadowing = builder.shadowing(beam_energy);
  schedule.group_count = groups.size();
  std::vector<GroupTables> states(groups.size(), beam_energy);
  const auto angles = static_cast<std::int32_t>(input.beam.detection_angles.size());
  for (std::int32_t j = 1; j <= angles; ++j) {
    const engine::IonRunParameters direction = builder.blocking_direction(j);
    for (std::size_t g = 0; g < groups.size(); ++g)
      schedule.blocking.push_back(builder.blocking(direction, groups[g], g, states[g]));
  }
  return schedule;
}

}  // namespace polysim
