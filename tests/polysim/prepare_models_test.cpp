// Derivation of the model data: change classes (with the order rule of the structure
// models), depth range, cell map, coefficients, reach, edges and angles, and the refusals.
#include "polysim/prepare_models.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "../engine/shared_tables.h"
#include "polysim/input_checks.h"
#include "polysim/input_reader.h"
#include "polysim/status_file.h"
#include "sample_input.h"
#include "scratch_dir.h"

namespace {

using engine_test::fixed_tables;

// A column of `atoms` atoms one above the other (layer a at depth 2(a - 1) Å, sigma
// 0.1 Å) in a 1 x 1 cell grid, with the given model counts; shifts 0 and every vibration
// model equal to the atoms' own amplitudes.
struct Slab {
  engine::Crystal crystal;
  engine::ModelSet models;
  engine::Beam beam;

  Slab(std::int32_t atoms, std::int32_t structures, std::int32_t displaced, std::int32_t vibrations,
       std::int32_t vibrated) {
    crystal.cell_count_x = crystal.cell_count_y = 1;
    crystal.layer_count = atoms;
    crystal.repeat_x = 2.5f;
    crystal.repeat_y = 3.5f;
    crystal.x_edges = {0.0f, 0.0f};
    crystal.y_edges = {0.0f, 0.0f};
    crystal.z_edges.assign(static_cast<std::size_t>(atoms) + 1, 0.0f);
    crystal.cell_atom.assign(static_cast<std::size_t>(atoms), 0);
    crystal.types = {{29, 63.546f}};
    for (std::int32_t a = 1; a <= atoms; ++a) {
      engine::Atom atom;
      atom.z = 2.0f * static_cast<float>(a - 1);
      atom.cell_i = atom.cell_j = 1;
      atom.layer = a;
      atom.sigma = 0.1f;
      atom.type = 1;
      crystal.atoms.push_back(atom);
    }
    models.structure_count = structures;
    models.displaced_atom_count = displaced;
    models.vibration_count = vibrations;
    models.vibrated_atom_count = vibrated;
    models.structure_shift.assign(static_cast<std::size_t>(structures * displaced), {});
    models.vibration_sigma.assign(static_cast<std::size_t>(vibrations * vibrated), 0.1f);
    beam.detection_angles = {0.0f};
  }

  void prepare() { polysim::prepare_models(crystal, models, beam, fixed_tables()); }
  const engine::Atom& atom(std::int32_t a) const { return crystal.atoms[a - 1]; }
};

TEST(GaussCoefficient, OfAmplitude) {
  EXPECT_FLOAT_EQ(polysim::gauss_coefficient(0.1f), 6250.0f);
  EXPECT_FLOAT_EQ(polysim::gauss_coefficient(0.05f), 25000.0f);
}

TEST(PrepareModels, UnchangedModelsKeepClassOneAndTheThermalReach) {
  Slab slab(3, 2, 2, 2, 3);
  slab.prepare();
  for (std::int32_t a = 1; a <= 3; ++a) {
    EXPECT_EQ(slab.atom(a).change_class, 1) << a;
    EXPECT_FLOAT_EQ(slab.atom(a).gauss_coeff, 6250.0f);
    EXPECT_NEAR(slab.atom(a).reach2, 20.8f * 0.1f * 0.1f, 1e-6) << a;
  }
  for (const float ratio : slab.models.vibration_ratio) EXPECT_FLOAT_EQ(ratio, 1.0f);
}

TEST(PrepareModels, LastShiftingModelDecidesBetweenDepthAndSideways) {
  const struct {
    engine::Shift first, second;
    std::int32_t change_class;
  } cases[] = {
      {{0.1f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.1f}, 3},   // sideways, then depth only
      {{0.0f, 0.0f, 0.1f}, {0.0f, 0.1f, 0.0f}, 5},   // depth, then sideways
      {{0.0f, 0.0f, -0.2f}, {0.0f, 0.0f, 0.0f}, 3},  // a later model without a shift keeps it
      {{0.1f, 0.0f, 0.1f}, {0.0f, 0.0f, 0.0f}, 5},   // both in one model
      {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1},
  };
  for (const auto& c : cases) {
    Slab slab(2, 2, 1, 1, 1);
    slab.models.shift(1, 1) = c.first;
    slab.models.shift(2, 1) = c.second;
    slab.prepare();
    EXPECT_EQ(slab.atom(1).change_class, c.change_class)
        << c.first.dx << " " << c.first.dz << " / " << c.second.dx << " " << c.second.dz;
    EXPECT_EQ(slab.atom(2).change_class, 1);
  }
}

TEST(PrepareModels, ChangedAmplitudeAddsOneToTheClass) {
  Slab slab(3, 1, 3, 3, 3);
  slab.models.shift(1, 2) = {0.0f, 0.0f, 0.1f};
  slab.models.shift(1, 3) = {0.1f, 0.0f, 0.0f};
  for (std::int32_t a = 1; a <= 3; ++a) slab.models.sigma(3, a) = 0.15f;
  slab.models.sigma(2, 1) = 0.12f;  // two differing models still add only one
  slab.prepare();
  EXPECT_EQ(slab.atom(1).change_class, 2);
  EXPECT_EQ(slab.atom(2).change_class, 4);
  EXPECT_EQ(slab.atom(3).change_class, 6);
  const std::size_t k = slab.models.vibration_index(3, 2);
  EXPECT_FLOAT_EQ(slab.models.vibration_gauss_coeff[k], 125.0f / (2.0f * 0.15f * 0.15f));
  EXPECT_FLOAT_EQ(slab.models.vibration_ratio[k], (0.1f * 0.1f) / (0.15f * 0.15f));
  EXPECT_FLOAT_EQ(slab.models.sigma(3, 2), 0.15f);  // the amplitudes stay for the reports
}

TEST(PrepareModels, DepthRangeStartsAtTheSurfaceAndCoversEveryModel) {
  Slab slab(3, 2, 2, 1, 2);
  slab.prepare();
  EXPECT_EQ(slab.crystal.z_min, 0.0f);  // atoms at depth 0, 2 and 4
  EXPECT_EQ(slab.crystal.z_max, 4.0f);

  Slab shifted(3, 2, 3, 1, 3);
  for (std::int32_t a = 1; a <= 3; ++a) shifted.crystal.atoms[a - 1].z += 1.0f;
  shifted.models.shift(2, 1) = {0.0f, 0.0f, -1.5f};
  shifted.models.shift(1, 3) = {0.0f, 0.0f, 0.25f};
  shifted.prepare();
  EXPECT_FLOAT_EQ(shifted.crystal.z_min, -0.5f);
  EXPECT_FLOAT_EQ(shifted.crystal.z_max, 5.25f);
}

TEST(PrepareModels, ReachAddsTheLargestShiftToTheWidestVibration) {
  Slab slab(3, 2, 1, 2, 2);
  slab.models.shift(1, 1) = {0.3f, 0.0f, 0.4f};  // |shift| 0.5 Å
  slab.models.shift(2, 1) = {0.1f, 0.0f, 0.0f};
  slab.models.sigma(2, 1) = 0.2f;
  slab.models.sigma(1, 2) = 0.05f;     // smaller than its own amplitude in every model
  slab.crystal.atoms[2].sigma = 0.3f;  // without vibration models: its own amplitude
  slab.prepare();
  const auto reach = [](float shift, float sigma) {
    const float r = shift + std::sqrt(10.4f * 2.0f * sigma * sigma);
    return r * r;
  };
  EXPECT_NEAR(slab.atom(1).reach2, reach(0.5f, 0.2f), 1e-5);
  EXPECT_NEAR(slab.atom(2).reach2, reach(0.0f, 0.1f), 1e-6);
  EXPECT_NEAR(slab.atom(3).reach2, reach(0.0f, 0.3f), 1e-5);
}

TEST(PrepareModels, CellMapKeepsTheLastAtomOfACell) {
  Slab slab(3, 1, 0, 1, 0);
  slab.crystal.atoms[2].layer = 1;  // atom 3 shares the cell of atom 1
  slab.crystal.cell_atom = {9, 9, 9};
  slab.prepare();
  EXPECT_EQ(slab.crystal.cell_atom, (std::vector<std::int32_t>{3, 2, 0}));
}

TEST(PrepareModels, ClosesEdgesAndConvertsAngles) {
  Slab slab(1, 1, 0, 1, 0);
  slab.beam.azimuth = 45.0f;
  slab.beam.polar_angle = 30.0f;
  slab.beam.angle_step = 0.5f;
  slab.beam.detection_angles = {100.0f, 0.0f, 0.0f, 0.0f};
  slab.prepare();
  EXPECT_EQ(slab.crystal.x_edges.back(), 2.5f);
  EXPECT_EQ(slab.crystal.y_edges.back(), 3.5f);
  const float deg = fixed_tables().deg_to_rad;
  EXPECT_EQ(slab.beam.azimuth, 45.0f * deg);
  EXPECT_EQ(slab.beam.polar_angle, 30.0f * deg);
  EXPECT_EQ(slab.beam.angle_step, 0.5f * deg);
  for (std::size_t j = 0; j < 4; ++j)
    EXPECT_FLOAT_EQ(slab.beam.detection_angles[j], (100.0f + 0.5f * j) * deg) << j;
}

TEST(PrepareModels, RefusesDataItCannotServe) {
  const struct {
    const char* what;
    void (*spoil)(Slab&);
    const char* message;
  } cases[] = {
      {"zero atom amplitude", [](Slab& s) { s.crystal.atoms[1].sigma = 0.0f; },
       "Atom 2: atom_sigma = 0"},
      {"negative model amplitude", [](Slab& s) { s.models.sigma(1, 1) = -0.1f; },
       "Vibration model 1, atom 1: vibration_sigma = -0.1"},
      {"cell outside the grid", [](Slab& s) { s.crystal.atoms[0].cell_i = 2; },
       "Atom 1: cell (2, 1, 1)"},
      {"unsized model table", [](Slab& s) { s.models.vibration_sigma.clear(); }, "not sized"},
  };
  for (const auto& c : cases) {
    Slab slab(2, 1, 1, 1, 1);
    c.spoil(slab);
    const engine::Crystal before = slab.crystal;
    try {
      slab.prepare();
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const polysim::InvalidInput& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
          << c.what << ": " << error.what();
    }
    EXPECT_EQ(slab.crystal.cell_atom, before.cell_atom) << c.what;
  }
}

TEST(PrepareModels, SampleInputFromTheReader) {
  polysim_test::ScratchDir dir;
  dir.write("in.dat", polysim_test::sample_input());
  std::ostringstream console;
  polysim::StatusFile status((dir.path() / "run.status").string(), console);
  polysim::SimulationInput in =
      polysim::read_simulation_input((dir.path() / "in.dat").string(), status);
  polysim::prepare_models(in.crystal, in.models, in.beam, fixed_tables());
  // Atom 1 sinks in model 2 and vibrates differently; atom 2 moves sideways; 3 and 4 stay.
  const std::int32_t classes[] = {4, 5, 1, 1};
  for (std::size_t a = 0; a < 4; ++a) EXPECT_EQ(in.crystal.atoms[a].change_class, classes[a]) << a;
  EXPECT_FLOAT_EQ(in.crystal.z_min, -0.1f);
  EXPECT_FLOAT_EQ(in.crystal.z_max, 1.8f);
  EXPECT_EQ(in.crystal.cell_atom, (std::vector<std::int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(in.crystal.x_edges.back(), 3.6f);
  const float expected = 0.1f + std::sqrt(10.4f * 2.0f * 0.2f * 0.2f);
  EXPECT_NEAR(in.crystal.atoms[0].reach2, expected * expected, 1e-5);
  EXPECT_FLOAT_EQ(in.beam.detection_angles.back(), 102.0f * fixed_tables().deg_to_rad);
}

}  // namespace
