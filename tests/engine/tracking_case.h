// A small crystal with its models and run tables, built directly in the engine's records for
// the tracking tests: atoms placed by hand in a cell grid, the derived per-atom values of the
// set-up, a deflection table for 100 keV protons, cut-offs for a detection angle and a
// reference angle, and ring tables.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/deflection_table.h"
#include "engine/ion_run.h"
#include "engine/launch_ions.h"
#include "engine/model.h"
#include "engine/potential.h"
#include "engine/random_generator.h"
#include "engine/ring_tables.h"
#include "engine/run_tables.h"
#include "shared_tables.h"

namespace engine_test {

inline constexpr float kDegree = 0.0174532925f;  // radians

// Protons of 100 keV on copper (Z 29, 63.546 amu), Molière potential; built once.
inline const engine::DeflectionTable& proton_copper_table() {
  static const engine::DeflectionTable table = [] {
    engine::Beam beam;
    beam.ion_z = 1;
    beam.ion_mass = 1.008f;
    beam.ion_energy = 100.0f;
    return engine::build_deflection_table({{29, 63.546f}}, beam, engine::kMoliere, 1.0f,
                                          fixed_tables());
  }();
  return table;
}

struct TrackingCase {
  engine::Crystal crystal;
  engine::ModelSet models;
  engine::RunTables tables;
  engine::IonRunParameters run;

  // A grid of cells with the given starting edges (each list closed here by the repeat
  // distance; the z list by the end depth in set_tables).
  TrackingCase(float repeat_x, float repeat_y, std::vector<float> x_edges,
               std::vector<float> y_edges, std::vector<float> z_edges) {
    crystal.types = {{29, 63.546f}};
    crystal.repeat_x = repeat_x;
    crystal.repeat_y = repeat_y;
    crystal.cell_count_x = static_cast<std::int32_t>(x_edges.size());
    crystal.cell_count_y = static_cast<std::int32_t>(y_edges.size());
    crystal.layer_count = static_cast<std::int32_t>(z_edges.size());
    x_edges.push_back(repeat_x);
    y_edges.push_back(repeat_y);
    z_edges.push_back(0.0f);
    crystal.x_edges = x_edges;
    crystal.y_edges = y_edges;
    crystal.z_edges = z_edges;
    crystal.cell_atom.assign(static_cast<std::size_t>(crystal.cell_count_x) *
                                 static_cast<std::size_t>(crystal.cell_count_y) *
                                 static_cast<std::size_t>(crystal.layer_count),
                             0);
    set_models(1, 0, 1, 0);
  }

  engine::Atom& add_atom(float x, float y, float z, std::int32_t i, std::int32_t j,
                         std::int32_t layer, float sigma) {
    engine::Atom atom;
    atom.x = x;
    atom.y = y;
    atom.z = z;
    atom.cell_i = i;
    atom.cell_j = j;
    atom.layer = layer;
    atom.sigma = sigma;
    atom.type = 1;
    crystal.atoms.push_back(atom);
    return crystal.atoms.back();
  }
  engine::Atom& atom(std::int32_t a) { return crystal.atoms[static_cast<std::size_t>(a - 1)]; }

  // Model counts; every shift 0, every model amplitude the atom's own.
  void set_models(std::int32_t structures, std::int32_t displaced, std::int32_t vibrations,
                  std::int32_t vibrated) {
    models.structure_count = structures;
    models.displaced_atom_count = displaced;
    models.vibration_count = vibrations;
    models.vibrated_atom_count = vibrated;
    models.structure_shift.assign(static_cast<std::size_t>(structures * displaced), {});
    models.vibration_sigma.assign(static_cast<std::size_t>(vibrations * vibrated), 0.0f);
    for (std::int32_t v = 1; v <= vibrations; ++v)
      for (std::int32_t a = 1; a <= vibrated; ++a) models.sigma(v, a) = atom(a).sigma;
  }

  // The derived values of the set-up: cell map, depth range, classes, coefficients, reach.
  void derive() {
    std::fill(crystal.cell_atom.begin(), crystal.cell_atom.end(), 0);
    crystal.z_min = crystal.z_max = 0.0f;
    for (std::int32_t a = 1; a <= static_cast<std::int32_t>(crystal.atoms.size()); ++a) {
      engine::Atom& at = atom(a);
      crystal.cell(at.cell_i, at.cell_j, at.layer) = a;
      at.gauss_coeff = 125.0f / (2.0f * at.sigma * at.sigma);
      at.change_class = 1;
      float shift2 = 0.0f, sigma_max = at.sigma;
      widen(at.z);
      for (std::int32_t s = 1; a <= models.displaced_atom_count && s <= models.structure_count;
           ++s) {
        const engine::Shift& d = models.shift(s, a);
        widen(at.z + d.dz);
        if (d.dz != 0.0f) at.change_class = 3;
        if (d.dx != 0.0f || d.dy != 0.0f) at.change_class = 5;
        shift2 = std::max(shift2, d.dx * d.dx + d.dy * d.dy + d.dz * d.dz);
      }
      if (a <= models.vibrated_atom_count) {
        sigma_max = 0.0f;
        bool varies = false;
        for (std::int32_t v = 1; v <= models.vibration_count; ++v) {
          sigma_max = std::max(sigma_max, models.sigma(v, a));
          varies = varies || models.sigma(v, a) != models.sigma(1, a);
        }
        if (varies) ++at.change_class;
      }
      const float reach = std::sqrt(shift2) + std::sqrt(10.4f * 2.0f * sigma_max * sigma_max);
      at.reach2 = reach * reach;
    }
    models.vibration_gauss_coeff.assign(models.vibration_sigma.size(), 0.0f);
    models.vibration_ratio.assign(models.vibration_sigma.size(), 0.0f);
    for (std::size_t k = 0; k < models.vibration_sigma.size(); ++k) {
      const float sigma = models.vibration_sigma[k];
      const auto a =
          static_cast<std::int32_t>(k % static_cast<std::size_t>(models.vibrated_atom_count)) + 1;
      models.vibration_gauss_coeff[k] = 125.0f / (2.0f * sigma * sigma);
      models.vibration_ratio[k] = models.vibration_gauss_coeff[k] / atom(a).gauss_coeff;
    }
  }

  // Cut-offs for the detection angle and the interaction radius for the reference angle
  // (radians) as the run driver sets them, the end depth, and the ring tables.
  void set_tables(float detection_angle, float reference_angle) {
    const float pi = fixed_tables().pi;
    tables.deflection = proton_copper_table();
    tables.type_angle_cutoff = engine::impact_cutoff(tables.deflection, detection_angle, pi);
    const std::vector<float> reach = engine::impact_cutoff(tables.deflection, reference_angle, pi);
    tables.interaction_reach = std::max(tables.interaction_reach, reach[0]);
    tables.type_reach_weight = {1.0f / (reach[0] * reach[0])};
    crystal.z_edges.back() = crystal.z_max + tables.interaction_reach;
    engine::build_ring_tables(crystal, models, fixed_tables(), tables);
  }

  // Beam at polar angle `polar` and azimuth `azimuth` (radians); the reference direction at
  // `detection` beyond it, in the same azimuth.
  void aim(float polar, float azimuth, float detection, std::int32_t ions) {
    run.run_polar = polar;
    run.run_azimuth = azimuth;
    run.companion_polar = polar + detection;
    run.ion_target = ions;
  }

  // Hitting probability of atom a (reference amplitude, first model pair) from a run's
  // tally: the hit sum per delivered flux, as a two-dimensional Gaussian density.
  double hitting_probability(const engine::HitTally& tally, std::int32_t a) const {
    const double flux = tally.ions_run / (std::cos(run.run_polar) * crystal.repeat_x *
                                          crystal.repeat_y);  // ions/Å^2 across the beam
    const double divisor = flux * tally.hit_norm * fixed_tables().pi * 125.0;
    return tally.hit(1, 1, a) * crystal.atoms[static_cast<std::size_t>(a - 1)].gauss_coeff /
           divisor;
  }

  engine::HitTally launch(std::int32_t seed) const {
    engine::RandomGenerator generator(seed);
    return launch(generator);
  }
  // A run that goes on with the deviates of `generator`: runs one after another on the same
  // generator are independent batches.
  engine::HitTally launch(engine::RandomGenerator& generator) const {
    engine::HitTally tally(models.vibration_count, models.structure_count,
                           static_cast<std::int32_t>(crystal.atoms.size()));
    engine::launch_ions(crystal, models, fixed_tables(), tables, run, generator, tally);
    return tally;
  }

 private:
  void widen(float z) {
    crystal.z_min = std::min(crystal.z_min, z);
    crystal.z_max = std::max(crystal.z_max, z);
  }
};

}  // namespace engine_test
