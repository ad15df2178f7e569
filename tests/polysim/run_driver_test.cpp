// Rules of the run driver: ions asked per run, the reference angle and its limits, the
// deflection-table rebuild threshold, the geometry refused before any ion runs, and the
// normalisation of hit sums.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "engine/fixed_tables.h"
#include "engine/scattering.h"
#include "polysim/input_checks.h"
#include "polysim/input_reader.h"
#include "polysim/plausibility_report.h"
#include "polysim/prepare_models.h"
#include "polysim/run_normalisation.h"
#include "polysim/run_schedule.h"
#include "prepared_sample.h"
#include "sample_input.h"
#include "scratch_dir.h"

namespace {

using engine_test::fixed_tables;
using polysim_test::prepared_sample;

TEST(RunDriver, IonTargetTruncatesAndRefusesCountsBeyondAnInt) {
  // Normal incidence, 10 ions per Å², a 3 x 4 Å cell.
  EXPECT_EQ(polysim::ion_target(std::cos(0.0f) * 10.0f * 4.0f * 3.0f), 120);
  EXPECT_EQ(polysim::ion_target(119.99), 119);
  EXPECT_EQ(polysim::ion_target(0.7), 0);
  EXPECT_EQ(polysim::ion_target(2147483647.0), 2147483647);
  EXPECT_THROW(polysim::ion_target(2147483648.0), polysim::InvalidInput);
  EXPECT_THROW(polysim::ion_target(NAN), polysim::InvalidInput);
}

TEST(RunDriver, ReferenceAngleLimitedToOneHundredthToOneTenthDegree) {
  const float d2r = fixed_tables().deg_to_rad;
  EXPECT_FLOAT_EQ(polysim::reference_angle(0.0f, 0.0f, d2r), 0.1f * d2r);  // z_max = 0
  EXPECT_FLOAT_EQ(polysim::reference_angle(0.0f, 1.0e-3f, d2r), 0.1f * d2r);
  EXPECT_FLOAT_EQ(polysim::reference_angle(0.0f, 1.0e4f, d2r), 0.01f * d2r);
  const float inside = 0.1f * std::cos(0.5f) / 80.0f;  // 6.3E-4 rad, about 0.036 degree
  EXPECT_FLOAT_EQ(polysim::reference_angle(0.5f, 80.0f, d2r), inside);
}

TEST(RunDriver, DeflectionTableRebuiltOnlyBeyondTwoHundredths) {
  EXPECT_FALSE(polysim::needs_new_deflection_table(0.98f, 1.0f));
  EXPECT_FALSE(polysim::needs_new_deflection_table(0.90f, 0.915f));
  EXPECT_TRUE(polysim::needs_new_deflection_table(0.97f, 1.0f));
  EXPECT_TRUE(polysim::needs_new_deflection_table(1.03f, 1.0f));
}

TEST(RunDriver, KinematicFactorLimits) {
  const float pi = fixed_tables().pi;
  EXPECT_FLOAT_EQ(engine::kinematic_factor(1.008f, 63.546f, 0.0f), 1.0f);
  EXPECT_NEAR(engine::kinematic_factor(1.008f, 63.546f, pi / 2.0f),
              (63.546f - 1.008f) / (63.546f + 1.008f), 1e-6f);
  EXPECT_TRUE(std::isnan(engine::kinematic_factor(4.0f, 1.0f, pi / 2.0f)));
}

TEST(RunDriver, GeometryWithoutASolutionIsRefusedNamingTheAngle) {
  const float pi = fixed_tables().pi;
  const float d2r = fixed_tables().deg_to_rad;
  polysim::SimulationInput input = prepared_sample();
  EXPECT_NO_THROW(polysim::check_run_geometry(input, pi, d2r));

  polysim::SimulationInput grazing_exit = input;
  grazing_exit.beam.detection_angles[2] = 40.0f * d2r;  // exit below the surface at 35 degree
  try {
    polysim::check_run_geometry(grazing_exit, pi, d2r);
    FAIL();
  } catch (const polysim::InvalidInput& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Detection angle 3 = 40 degree", 0), 0u)
        << error.what();
  }
  polysim::SimulationInput heavy_ion = input;
  heavy_ion.beam.ion_mass = 100.0f;  // heavier than copper: no backscattering at all
  EXPECT_THROW(polysim::check_run_geometry(heavy_ion, pi, d2r), polysim::InvalidInput);
  // Nothing is scattered beyond 90 degree by an atom of the ion's own mass, nor near 180
  // degree by a lighter one, although the energy ratio formula still gives a finite number.
  polysim::SimulationInput equal_mass = input;
  equal_mass.beam.ion_mass = 63.546f;
  EXPECT_THROW(polysim::check_run_geometry(equal_mass, pi, d2r), polysim::InvalidInput);
  polysim::SimulationInput backwards = input;
  backwards.beam.ion_mass = 70.0f;
  for (float& phi : backwards.beam.detection_angles) phi = 170.0f * d2r;
  EXPECT_THROW(polysim::check_run_geometry(backwards, pi, d2r), polysim::InvalidInput);
  // Every type the crystal uses must be able to send the ion back, not only the last atom's:
  // an ion of mass 20 passes copper (63.5) but no oxygen atom (16) scatters it beyond 53 degree.
  polysim::SimulationInput light_type = input;
  light_type.beam.ion_mass = 20.0f;
  try {
    polysim::check_run_geometry(light_type, pi, d2r);
    FAIL();
  } catch (const polysim::InvalidInput& error) {
    EXPECT_NE(std::string(error.what()).find("by a target atom of mass 15.999"), std::string::npos)
        << error.what();
  }
  polysim::SimulationInput parallel_beam = input;
  parallel_beam.beam.polar_angle = 90.0f * d2r;
  EXPECT_THROW(polysim::check_run_geometry(parallel_beam, pi, d2r), polysim::InvalidInput);
}

TEST(RunDriver, NormalisationTurnsWeightedDensitiesIntoProbabilities) {
  const polysim::SimulationInput input = prepared_sample();
  const std::int32_t atoms = 4, structures = 2, vibrations = 3;
  engine::HitTally tally(vibrations, structures, atoms);
  tally.ions_run = 200;
  tally.hit_norm = 0.25f;
  const float divisor = polysim::hit_divisor(tally, input.crystal, 0.0f, fixed_tables().pi);
  // 200 ions over the 3.6 x 3.6 Å cell at normal incidence.
  EXPECT_FLOAT_EQ(divisor, 200.0f / (3.6f * 3.6f) * 0.25f * fixed_tables().pi * 125.0f);
  tally.hit(2, 1, 1) = divisor / polysim::gauss_coefficient_of(input.crystal, input.models, 2, 1);
  tally.hit(3, 2, 4) = 0.5f * divisor / input.crystal.atoms[3].gauss_coeff;
  polysim::RunResults results(atoms, structures, vibrations, 5);
  polysim::normalise_shadowing(tally, input.crystal, input.models, divisor, results);
  EXPECT_FLOAT_EQ(results.hit_probability(2, 1, 1), 1.0f);
  // Atom 4 has no model amplitudes (N19 = 3): its own coefficient serves every model.
  EXPECT_FLOAT_EQ(results.hit_probability(3, 2, 4), 0.5f);

  tally.hit(2, 1, 1) = 0.0;
  tally.hit(1, 1, 2) = 1.0;
  results.block_yield(1, 1, 2, 5) = 0.75f;
  // Atom 2 belongs to another kinematic group: its yield comes from that group's run.
  polysim::normalise_blocking(tally, input.crystal, input.models, divisor, 5, results,
                              {1, 0, 1, 1});
  EXPECT_FLOAT_EQ(results.block_yield(3, 2, 4, 5), 0.25f);
  EXPECT_EQ(results.block_yield(1, 1, 2, 5), 0.75f);
}

TEST(RunDriver, ImplausibleHitsListedAtomsOutermost) {
  polysim::RunResults results(2, 2, 2, 1);
  results.hit_probability(2, 1, 2) = 6.0f;
  results.hit_probability(1, 2, 1) = 5.5f;
  results.hit_probability(1, 1, 1) = 5.0f;  // 5.0 itself is accepted
  const std::vector<polysim::ImplausibleHit> found = polysim::implausible_hits(results);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].atom, 1);
  EXPECT_EQ(found[0].structure, 2);
  EXPECT_EQ(found[1].atom, 2);
  EXPECT_EQ(found[1].vibration, 2);
  EXPECT_FLOAT_EQ(found[1].probability, 6.0f);
}

// The lines as a standard Fortran runtime writes them list-directed: the console's value line
// keeps the blank after its text, the status file's does not.
TEST(RunDriver, ImplausibleHitLinesOnConsoleAndInStatusFile) {
  polysim::RunResults results(3, 1, 2, 1);
  results.hit_probability(2, 1, 3) = 5.89657021f;
  polysim_test::ScratchDir dir;
  std::ostringstream console;
  polysim::StatusFile status((dir.path() / "run.status").string(), console);
  polysim::report_implausible_hits(results, status);
  const std::string where =
      "   For atom            3   at vibration model            2   and structure model"
      "            1\n";
  EXPECT_EQ(console.str(),
            " ------------------------\n"
            " Unfeasibly large hitting probability of    5.89657021    \n" +
                where);
  EXPECT_EQ(dir.read("run.status"),
            " ------------------------\n"
            " Unfeasibly large hitting probability of   5.89657021    \n" +
                where);
}

}  // namespace
