// Values outside their physical range, and counts the file cannot hold, are refused with
// one line naming the value and what is allowed; values at the edges of the ranges read.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "polysim/input_values.h"
#include "read_refusal.h"
#include "sample_input.h"

namespace {

using polysim_test::read_refusal;
using polysim_test::sample_with;

struct ValueCase {
  const char* from;
  const char* to;
  const char* message;  // "" when the changed input reads
};

const char* const kAtom2 = " 1.8 0.0 0.0 2 1 1 0.1 9.0 9.0 2";
const char* const kGeometry = " 10.0 35.0 100.0 0.5 2.0";
const char* const kIon = " 1 1.008 100.0 50.0 25.0";
const char* const kShifts2 = " 0.0 0.0 -0.1  0.05 0.0 0.0";

TEST(InputValues, OutOfRangeValuesAreRefusedNamingThem) {
  const ValueCase cases[] = {
      {kAtom2, " 1.8 0.0 0.0 2 1 1 1e-38 9.0 9.0 2",
       "Atom 2: atom_sigma = 1e-38 Angstrom, must be within 0.001..5 Angstrom"},
      {kAtom2, " 1.8 0.0 0.0 2 1 1 1e-45 9.0 9.0 2",
       "Atom 2: atom_sigma = 1.4013e-45 Angstrom, must be within 0.001..5 Angstrom"},
      {kAtom2, " 1.8 0.0 0.0 2 1 1 1e38 9.0 9.0 2",
       "Atom 2: atom_sigma = 1e+38 Angstrom, must be within 0.001..5 Angstrom"},
      {" 0.15 0.1 0.08", " 0.15 1e-38 0.08",
       "Vibration model 2, atom 2: vibration_sigma = 1e-38 Angstrom, must be within 0.001..5 "
       "Angstrom"},
      {kGeometry, " 10.0 35.0 100.0 0.5 0", "atoms_per_layer = 0, must be at least 0.01"},
      {kGeometry, " 10.0 35.0 100.0 0.5 1e-38", "atoms_per_layer = 1e-38, must be at least 0.01"},
      {kGeometry, " 10.0 35.0 100.0 0.5 /", "atoms_per_layer = 0, must be at least 0.01"},
      {kGeometry, " 10.0 3.4e38 100.0 0.5 2.0",
       "polar_angle = 3.4e+38 degree, must be at least 0 and below 90 degree"},
      {kGeometry, " 10.0 -1e10 100.0 0.5 2.0",
       "polar_angle = -1e+10 degree, must be at least 0 and below 90 degree"},
      {kGeometry, " 10.0 90 100.0 0.5 2.0",
       "polar_angle = 90 degree, must be at least 0 and below 90 degree"},
      {kGeometry, " 10.0 35.0 -1 0.5 2.0",
       "Detection angle 1 = -1 degree, must be within 0..180 degree"},
      {kGeometry, " 10.0 35.0 100.0 21 2.0",
       "Detection angle 5 = 184 degree, must be within 0..180 degree"},
      {kGeometry, " 10.0 35.0 100.0 3.4e38 2.0",
       "Detection angle 5 = 1.36e+39 degree, must be within 0..180 degree"},
      {kIon, " 1 1.008 100.0 -50.0 25.0", "shadow_flux = -50, must be at least 0"},
      {kIon, " 1 1.008 100.0 50.0 -1e-30", "block_flux = -1e-30, must be at least 0"},
      {kIon, " 1 1.008 0 50.0 25.0", "ion_energy = 0 keV, must be above 0 keV"},
      {kIon, " 1 -1 100.0 50.0 25.0", "ion_mass = -1 amu, must be above 0 amu"},
      {kIon, " 0 1.008 100.0 50.0 25.0", "ion_z = 0, must be at least 1"},
      {" 8 15.999", " 8 0", "type_mass of atom type 2 = 0 amu, must be above 0 amu"},
      {" 8 15.999", " -8 15.999", "type_z of atom type 2 = -8, must be at least 1"},
      {" 2 1.5E15", " 2 -1.5E15", "overlayer_density = -1.5e+15, must be at least 0"},
      {" 3.6 3.6", " -1 3.6", "repeat_x = -1 Angstrom, must be above 0 and at most 1000 Angstrom"},
      {" 3.6 3.6", " 3.6 1e30",
       "repeat_y = 1e+30 Angstrom, must be above 0 and at most 1000 Angstrom"},
      {" 0.0 0.9\n", " 0.1 0.9\n", "x_edges(1) = 0.1, must be 0"},
      {" 0.0 0.9\n", " 0.0 0.0\n", "x_edges(2) = 0, must be above x_edges(1) = 0"},
      {" 0.0 0.9\n", " 0.0 1e38\n", "x_edges(2) = 1e+38, must be below repeat_x = 3.6"},
      {" 0.0\n -0.9", " -1e8\n -0.9", "y_edges(1) = -1e+08, must be 0"},
      {" -0.9 0.9", " 0.9 -0.9", "z_edges(2) = -0.9, must be above z_edges(1) = 0.9"},
      {" -0.9 0.9", " -0.9 1e8", "z_edges(2) = 1e+08 Angstrom, must be within -72..72 Angstrom"},
      {kAtom2, " 3.7 0.0 0.0 2 1 1 0.1 9.0 9.0 2",
       "Atom 2: atom_x = 3.7 Angstrom, must be within 0..3.6 Angstrom"},
      {kAtom2, " 1e38 0.0 0.0 2 1 1 0.1 9.0 9.0 2",
       "Atom 2: atom_x = 1e+38 Angstrom, must be within 0..3.6 Angstrom"},
      {kAtom2, " 1.8 -1e20 0.0 2 1 1 0.1 9.0 9.0 2",
       "Atom 2: atom_y = -1e+20 Angstrom, must be within 0..3.6 Angstrom"},
      {kAtom2, " 1.8 0.0 1e8 2 1 1 0.1 9.0 9.0 2",
       "Atom 2: atom_z = 1e+08 Angstrom, must be within -72..72 Angstrom"},
      {kShifts2, " 0.0 0.0 -0.1  1e30 0.0 0.0",
       "Structure model 2, atom 2: dx = 1e+30 Angstrom, must be within -3.6..3.6 Angstrom"},
      {kShifts2, " 0.0 0.0 -0.1  0.05 -3.7 0.0",
       "Structure model 2, atom 2: dy = -3.7 Angstrom, must be within -3.6..3.6 Angstrom"},
      {kShifts2, " 0.0 0.0 1e8  0.05 0.0 0.0",
       "Structure model 2, atom 1: atom_z + dz = 1e+08 Angstrom, must be within -72..72 "
       "Angstrom"},
      {" 0 1 1 0 0 0 0 1", " 0 1 3 0 0 0 0 1",
       "potential_selector = 3, must be 0 (Moliere), 1 (Biersack universal) or 2 (bare "
       "Coulomb)"},
      {" 0 1 1 0 0 0 0 1", " 0 1 -1 0 0 0 0 1",
       "potential_selector = -1, must be 0 (Moliere), 1 (Biersack universal) or 2 (bare "
       "Coulomb)"},
      // The edges of the ranges, and values that keep a defined meaning, read.
      {" 0 1 1 0 0 0 0 1", " 0 1 2 0 0 0 0 1", ""},
      {kAtom2, " 3.6 3.6 72 2 1 1 5 9.0 9.0 2", ""},
      {kAtom2, " 1.8 0.0 0.0 2 1 1 0.001 9.0 9.0 2", ""},
      {kGeometry, " -720 0 0 45 0.01", ""},
      {kIon, " 1 1.008 100.0 0 0", ""},
      {" 2 1.5E15", " 2 0", ""},
      {" 3.6 3.6", " 1000 3.6", ""},
  };
  for (const ValueCase& c : cases)
    EXPECT_EQ(read_refusal(sample_with(c.from, c.to)), c.message) << c.to;
}

// The overlayer density does not matter while the overlayer is off.
TEST(InputValues, UnusedOverlayerDensityIsNotChecked) {
  std::string text = sample_with(" 0 1 1 0 0 0 0 1", " 0 0 1 0 0 0 0 1");
  text.replace(text.find(" 2 1.5E15"), 9, " 2 -1e38");
  EXPECT_EQ(read_refusal(text), "");
}

TEST(InputValues, CountsTheFileCannotHoldAreRefusedBeforeAnyTable) {
  const char* const record = " 4 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3";
  const struct {
    const char* counts;
    long long least_bytes;
  } cases[] = {
      {" 10000000 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3", 20000036},
      {" 1000000000 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3", 2000000036},
      {" 4 2 10000000 1 2 10000001 2 3 5 2 3 1 1 7 7 2 1 2 3", 20000040},
      {" 4 2 2 1 2 3 2 3 5 2 3 10000000 1 7 7 10000000 1 2 3", 60000038},
      {" 4 2 2 1 2 3 2 3 5 2 3 1 10000000 7 7 2 10000000 2 3", 60000038},
  };
  for (const auto& c : cases) {
    const std::string text = sample_with(record, c.counts);
    EXPECT_EQ(read_refusal(text), "Dimension record: these counts need an input file of at least " +
                                      std::to_string(c.least_bytes) + " bytes, this one has " +
                                      std::to_string(text.size()))
        << c.counts;
  }
}

// A prepared input (angles in radians) with an overlayer of `density` atoms/cm2 at polar 35
// degree and detection angles 100 and 102 degree.
polysim::SimulationInput overlayer_input(float density) {
  polysim::SimulationInput in;
  const float deg = std::atan(1.0f) * 4.0f / 180.0f;
  in.options.overlayer_flag = 1;
  in.options.overlayer_type = 1;
  in.options.overlayer_density = density;
  in.beam.polar_angle = 35.0f * deg;
  in.beam.detection_angles = {100.0f * deg, 102.0f * deg};
  return in;
}

// m = trunc(6.25 n_path) + 1 with n_path = density 1e-16 / cos(polar of the run): the beam
// at 35 degree allows up to 1.31e18 atoms/cm2, the exit direction of 100 degree (45 degree
// from the normal) only 1.13e18.
TEST(InputValues, OverlayerCollisionsPerIonAtMostOneThousand) {
  const float pi = std::atan(1.0f) * 4.0f;
  const float deg = pi / 180.0f;
  EXPECT_NO_THROW(polysim::check_overlayer_collisions(overlayer_input(1.1e18f), pi, deg));
  const std::pair<float, const char*> cases[] = {
      {1.2e18f,
       "overlayer_density = 1.2e+18 atoms/cm2 gives 1061 overlayer collisions per ion along the "
       "exit direction of detection angle 1 (100 degree), more than 1000"},
      {1.0e20f,
       "overlayer_density = 1e+20 atoms/cm2 gives 76299 overlayer collisions per ion along the "
       "beam, more than 1000"},
      {1.0e38f,
       "overlayer_density = 1e+38 atoms/cm2 gives 7.62984e+22 overlayer collisions per ion "
       "along the beam, more than 1000"},
  };
  for (const auto& [density, message] : cases) {
    try {
      polysim::check_overlayer_collisions(overlayer_input(density), pi, deg);
      ADD_FAILURE() << density << " accepted";
    } catch (const polysim::InvalidInput& error) {
      EXPECT_STREQ(error.what(), message);
    }
  }
  polysim::SimulationInput off = overlayer_input(1.0e38f);
  off.options.overlayer_flag = 0;
  EXPECT_NO_THROW(polysim::check_overlayer_collisions(off, pi, deg));
}

}  // namespace
