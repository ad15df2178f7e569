// Building the deflection table and reading cut-off impact parameters from it. The root
// search and quadrature run in double precision; the table stores 32-bit tangents.
#include "engine/deflection_table.h"

#include <cmath>
#include <string>

#include "engine/errors.h"
#include "engine/potential.h"
#include "engine/scattering.h"

namespace engine {

namespace {

constexpr double kImpactStep = 0.0005;  // Å between entries

void require_positive(double value, const std::string& what) {
  if (!(value > 0.0) || !std::isfinite(value))
    throw PhysicsError(what + " = " + std::to_string(value) +
                       ", must be positive for a collision table");
}

// One row: T(0) = -1.0E-6, T(i) = tan psi at p = 0.0005 i Å, i = 1..10000.
void fill_row(const ScatteringQuadrature& quadrature, const PairPotential& pair, double ec,
              double mass_ratio, float* row) {
  row[0] = DeflectionTable::kHeadOn;
  for (std::int32_t i = 1; i <= DeflectionTable::kLastIndex; ++i) {
    const double p = kImpactStep * i;
    const double theta = quadrature.centre_of_mass_angle(pair, p, ec);
    row[i] = static_cast<float>(laboratory_tangent(theta, mass_ratio));
  }
}

}  // namespace

DeflectionTable build_deflection_table(const std::vector<AtomType>& types, const Beam& beam,
                                       std::int32_t potential_selector, float kinematic_factor,
                                       const FixedTables& tables) {
  const float energy = kinematic_factor * beam.ion_energy;  // keV
  require_positive(energy, "ion energy times kinematic factor (keV)");
  require_positive(beam.ion_mass, "ion mass (amu)");
  const ScatteringQuadrature quadrature(tables.pi);
  constexpr std::size_t kRow = DeflectionTable::kLastIndex + 1;
  std::vector<float> tangent(types.size() * kRow, 0.0f);
  for (std::size_t t = 0; t < types.size(); ++t) {
    const double m2 = types[t].mass;
    require_positive(m2, "mass of atom type " + std::to_string(t + 1) + " (amu)");
    const double ec = energy * m2 / (beam.ion_mass + m2);
    const PairPotential pair = make_pair_potential(potential_selector, beam.ion_z, types[t].z);
    fill_row(quadrature, pair, ec, beam.ion_mass / m2, tangent.data() + t * kRow);
  }
  return DeflectionTable(static_cast<std::int32_t>(types.size()), kinematic_factor,
                         std::move(tangent));
}

std::vector<float> impact_cutoff(const DeflectionTable& table, float alpha, float pi) {
  std::vector<float> cutoff(static_cast<std::size_t>(table.type_count()), 0.0f);
  for (std::int32_t t = 1; t <= table.type_count(); ++t) {
    std::int32_t k = 0;
    for (; k < DeflectionTable::kLastIndex; ++k) {
      float psi = std::atan(table.entry(t, k));
      if (psi < 0.0f) psi += pi;
      if (psi <= alpha) break;
    }
    cutoff[static_cast<std::size_t>(t - 1)] = DeflectionTable::kStep * static_cast<float>(k);
  }
  return cutoff;
}

}  // namespace engine
