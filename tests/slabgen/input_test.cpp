// What slabgen writes: inputs polysim reads and accepts for every lattice and face, the atom
// numbering and models of the model scans, monosim's variant, and the description's errors.
#include <gtest/gtest.h>

#include <unistd.h>

#include "engine/fixed_tables.h"
#include "polysim/prepared_run.h"
#include "slab_inputs.h"
#include "slabgen/slab.h"

namespace {

using slabgen_test::copper;
using slabgen_test::generate;
using slabgen_test::read_by_polysim;

const engine::FixedTables& tables() {
  static const engine::FixedTables fixed = engine::build_fixed_tables();
  return fixed;
}

TEST(SlabgenInput, PolysimAcceptsEveryLatticeAndFace) {
  const std::string scan = "beam = along [001]\nscan = 120 2 2\n";
  const std::string hcp =
      "lattice = hcp\na = 2.507\nelement = Co\nface = (0001)\nlayers = 4\ntemperature = 300\n"
      "debye = 385\nion = He\nenergy = 200\npolar = 0\nscan = across [10-11] step 1 count 2\n"
      "flux = 10\n";
  const std::string rocksalt =
      "lattice = basis\na = 4.2\nsite = Mg 0 0 0\nsite = Mg 0.5 0.5 0\nsite = Mg 0.5 0 0.5\n"
      "site = Mg 0 0.5 0.5\nsite = O 0.5 0 0\nsite = O 0 0.5 0\nsite = O 0 0 0.5\n"
      "site = O 0.5 0.5 0.5\nface = (001)\nlayers = 4\nsigma = 0.07\nion = H\nenergy = 100\n"
      "polar = 0\nscan = across [101] step 1 count 2\nflux = 10\n";
  const struct {
    const char* name;
    std::string description;
    int types, atoms;
    // Prepared for a run as well (about a second each under the sanitizers): the lattices the
    // blocking-dip test does not run.
    bool prepare = false;
  } cases[] = {
      {"fcc(001)", copper("(001)", "[100]", scan), 1, 12},
      {"fcc(110)", copper("(110)", "[1-10]", "polar = 0\nscan = across [100] step 1 count 2\n"), 1,
       6},
      {"fcc(111)",
       copper("(111)", "[1-10]", "beam = along [111]\nscan = across [110] step 1 count 2\n"), 1,
       12},
      {"bcc(110)", copper("(110)", "[001]", "polar = 0\nscan = 100 1 2\n", "bcc"), 1, 12},
      {"diamond(111)", copper("(111)", "[1-10]", "polar = 10\nscan = 100 1 2\n", "diamond"), 1, 12},
      {"hcp(0001)", hcp, 1, 8, true},
      {"rock salt (001)", rocksalt, 2, 8, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const polysim::SimulationInput input = read_by_polysim(generate(c.description).input);
    EXPECT_EQ(input.dims.n(1), c.atoms);
    EXPECT_EQ(input.dims.n(2), c.types);
    if (c.prepare) {
      EXPECT_NO_THROW(polysim::prepare_run(input, tables()));
    }
  }
}

// Relaxations of d12 and d23 move layers 1-2 and layer 1; amplitudes of layer 3 make it the
// last model-vibrated layer, so the atoms are numbered layers 1, 2, 3, then the rest.
TEST(SlabgenInput, ModelScansNumberTheirAtomsFirst) {
  const polysim::SimulationInput input = read_by_polysim(
      generate(copper("(001)", "[100]",
                      "polar = 0\nscan = 130 1 3\nrelax d12 = -0.1 0.1\nrelax d23 = 0 0.05 0.1\n"
                      "vibrate layer 3 = 0.08 0.11\n"))
          .input);
  const engine::ModelSet& m = input.models;
  EXPECT_EQ(m.structure_count, 6);
  EXPECT_EQ(m.vibration_count, 2);
  EXPECT_EQ(m.displaced_atom_count, 4);  // layers 1 and 2, two atoms each
  EXPECT_EQ(m.vibrated_atom_count, 6);   // up to layer 3
  for (std::int32_t a = 1; a <= 6; ++a) EXPECT_EQ(input.crystal.atoms[a - 1].layer, (a + 1) / 2);
  // Model 5 = (d12 +0.1, d23 +0.05): layer 1 rises by 0.15, layer 2 by 0.05.
  EXPECT_NEAR(m.shift(5, 1).dz, -0.15f, 1e-6);
  EXPECT_NEAR(m.shift(5, 3).dz, -0.05f, 1e-6);
  EXPECT_EQ(m.shift(5, 1).dx, 0.0f);
  // Layer 3 is tracked with its largest model amplitude; layers 1-2 keep theirs in every model.
  EXPECT_FLOAT_EQ(input.crystal.atoms[4].sigma, 0.11f);
  EXPECT_FLOAT_EQ(m.sigma(1, 5), 0.08f);
  EXPECT_FLOAT_EQ(m.sigma(2, 1), 0.08f);
  EXPECT_EQ(input.structure_params[1].name.substr(0, 9), "delta_d23");
  EXPECT_EQ(input.structure_params[1].choice, (std::vector<std::int32_t>{1, 2, 3, 1, 2, 3}));
}

TEST(SlabgenInput, MonosimVariantHasItsFlagsAndThreeAmplitudes) {
  const std::string input =
      generate(copper("(001)", "[100]", "polar = 0\nscan = 130 1 3\ncorrelation = 0.3 2.6\n"),
               slabgen::Variant::monosim)
          .input;
  std::istringstream lines(input);
  std::string line;
  std::vector<std::string> l;
  while (std::getline(lines, line)) l.push_back(line);
  EXPECT_EQ(l[2], "  0 0 0 0 0 1 0 0");  // correlated vibrations on, flags 7 and 8 zero
  EXPECT_EQ(l[6], "    0.300   2.600");  // coefficient and distance
  EXPECT_EQ(l[7].substr(37, 24), "   0.080   0.080   0.080");
  EXPECT_EQ(l.size(), 7u + 12u + 6u);  // groups 1-7, 12 atoms, groups 9-14; no models
}

TEST(SlabgenInput, DescriptionErrorsNameTheLineAndTheFault) {
  const std::string base = copper("(001)", "[100]", "polar = 0\nscan = 130 1 3\n");
  const struct {
    std::string description;
    const char* message;
  } cases[] = {
      {base + "colour = red\n", "test.slab, line 13: unknown key 'colour'"},
      {base + "layers = 5\n", "test.slab, line 13: 'layers' is given twice (first on line 6)"},
      {"a 3.6\n", "test.slab, line 1: expected 'key = value', found 'a 3.6'"},
      {copper("(001)", "[100]", "polar = 95\nscan = 130 1 3\n"),
       "test.slab, line 11: 'polar' must be 0 to below 90 degrees"},
      {copper("(001)", "[100]", "polar = 0\nscan = 130 1\n"),
       "test.slab, line 12: write 'scan = <first> <step> <count>' (degrees)"},
      {base + "relax d13 = 0.1\n",
       "test.slab, line 13: write 'relax d<n><n+1> = <changes in A>', e.g. 'relax d12 = -0.1 0 "
       "0.1'"},
      {base + "vibrate layer 7 = 0.1\n", "test.slab, line 13: the slab has no layer 7"},
      {base + "mass Cu = heavy\n",
       "test.slab, line 13: cannot read 'heavy' as a number for 'mass'"},
      {copper("(001)", "[100]", "polar = 0\nscan = 130 1 3\n", "fcc2"),
       "test.slab, line 1: unknown lattice 'fcc2' (fcc, bcc, hcp, diamond or basis)"},
      {"lattice = fcc\na = 3.6\nelement = Xx\nface = (001)\nlayers = 2\nsigma = 0.1\n",
       "test.slab: unknown element 'Xx': give 'z Xx = ...' and 'mass Xx = ...'"},
      {copper("(001)", "[100]", "polar = 0\nscan = 130 1 3\n").substr(0, 60),
       "test.slab: the key 'layers' is missing"},
  };
  for (const auto& c : cases) {
    try {
      generate(c.description);
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const slabgen::DescriptionError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

TEST(SlabgenInput, GeometryWithoutASolutionIsRefused) {
  const struct {
    std::string extra;
    const char* message;
  } cases[] = {
      {"polar = 0\nscan = 170 1 20\n",
       "detection angles 170.000000 to 189.000000 leave the range 0 to 180 degrees"},
      {"polar = 0\nazimuth = 0\nscan = across [011] step 1 count 3\n",
       "the scan direction [011] does not lie in the plane of incidence (azimuth 0.000000 "
       "degrees)"},
      {"beam = along [100]\nscan = 130 1 3\n", "the beam [100] runs along the surface"},
  };
  for (const auto& c : cases) {
    try {
      generate(copper("(001)", "[100]", c.extra));
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const slabgen::SlabError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

}  // namespace
