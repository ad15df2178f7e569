// A small crystal with its models and run tables for the tracking tests: atoms placed by hand
// in a cell grid, derived and given their tables by the program's own preparation, with a
// deflection table for 100 keV protons and cut-offs for a detection angle and a reference
// angle.
#pragma once

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/deflection_table.h"
#include "engine/ion_run.h"
#include "engine/ion_stream.h"
#include "engine/launch_ions.h"
#include "engine/model.h"
#include "engine/potential.h"
#include "engine/run_tables.h"
#include "polysim/prepare_models.h"
#include "polysim/run_schedule.h"
#include "shared_tables.h"

namespace engine_test {

inline constexpr float kDegree = 0.0174532925f;  // radians

// Under AddressSanitizer the engine runs many times slower: the long Monte-Carlo tests use
// fewer ions there.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

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

  // The derived values of the set-up (cell map, depth range, classes, coefficients, reach),
  // and the models as the tracking reads them.
  void derive() {
    polysim::derive_model_data(crystal, models);
    models = polysim::models_for_tracking(crystal, models);
  }

  // Cut-offs for the detection angle and the interaction radii for the reference angle
  // (radians) as the run schedule sets them, with the end depth and the ring tables.
  void set_tables(float detection_angle, float reference_angle) {
    tables.deflection = proton_copper_table();
    run.type_angle_cutoff =
        engine::impact_cutoff(tables.deflection, detection_angle, fixed_tables().pi);
    tables = polysim::with_interaction_radii(std::move(tables), reference_angle, crystal, models,
                                             fixed_tables());
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

  // A run whose ions draw from the streams of `seed` and `run_number`: runs with another seed
  // or run number are independent batches.
  engine::HitTally launch(std::int64_t seed, std::uint64_t run_number = 0) const {
    engine::HitTally tally(models.vibration_count, models.structure_count,
                           static_cast<std::int32_t>(crystal.atoms.size()));
    engine::launch_ions(crystal, models, fixed_tables(), tables, run,
                        engine::run_key(seed, run_number), tally);
    return tally;
  }
};

}  // namespace engine_test
