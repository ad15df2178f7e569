// The whole preparation of a simulation input, against the Fortran runtime's text, and read
// back by the simulation's own reader.
#include "structfit/prepare_input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "fit_case.h"
#include "polysim/input_reader.h"
#include "polysim/status_file.h"
#include "structfit/fit_errors.h"

namespace {

using structfit_test::data_text;
using structfit_test::FitCaseDir;

struct Prepared {
  FitCaseDir files;
  structfit::FitSetup setup;
  std::string console;
  std::int32_t weight = 0;

  explicit Prepared(std::int32_t index) {
    files.dir.write("bfgsin.dat", data_text("fit_case.dat"));
    std::ostringstream echo;
    setup = structfit::read_fit_setup("bfgsin.dat", echo);
    std::vector<float> values;
    for (const structfit::FitParameter& p : setup.parameters) values.push_back(p.guess);
    std::ostringstream out;
    weight = structfit::prepare_simulation_input(setup, values, index, "fit_case_base.in",
                                                 "inmulti.in", out);
    console = out.str();
  }

  polysim::SimulationInput read_back() {
    std::ostringstream sink;
    polysim::StatusFile status(files.dir.file("check.status").string(), sink);
    return polysim::read_simulation_input(files.dir.file("inmulti.in").string(), status);
  }
};

TEST(PrepareInput, DisplacementCaseIsTheFortranRuntimesText) {
  Prepared run(1);
  EXPECT_EQ(run.files.dir.read("inmulti.in"), data_text("inmulti_displacement.in"));
  EXPECT_EQ(run.console, data_text("console_displacement.txt"));
  EXPECT_EQ(run.weight, 5);
}

TEST(PrepareInput, VibrationCaseIsTheFortranRuntimesText) {
  Prepared run(2);
  EXPECT_EQ(run.files.dir.read("inmulti.in"), data_text("inmulti_vibration.in"));
  EXPECT_EQ(run.console, data_text("console_vibration.txt"));
}

TEST(PrepareInput, SimulationReaderAcceptsTheWrittenInput) {
  Prepared displaced(1);
  const polysim::SimulationInput d = displaced.read_back();
  EXPECT_EQ(d.models.structure_count, 5);
  EXPECT_EQ(d.models.vibration_count, 1);
  EXPECT_EQ(d.models.displaced_atom_count, 3);
  ASSERT_EQ(d.structure_params.size(), 1u);
  EXPECT_FLOAT_EQ(d.models.shift(5, 1).dz, 0.04f);
  EXPECT_FLOAT_EQ(d.crystal.atoms[0].sigma, 0.106f);

  Prepared vibrated(2);
  const polysim::SimulationInput v = vibrated.read_back();
  EXPECT_EQ(v.models.structure_count, 1);
  EXPECT_EQ(v.models.vibration_count, 5);
  EXPECT_EQ(v.models.vibrated_atom_count, 2);
  EXPECT_FLOAT_EQ(v.models.sigma(1, 1), 0.06f);
  EXPECT_FLOAT_EQ(v.models.sigma(5, 2), 0.14f);
  ASSERT_EQ(v.vibration_params.size(), 1u);
  EXPECT_EQ(v.crystal.atoms.size(), 8u);
  EXPECT_EQ(v.dims.n(5), 4);
}

TEST(PrepareInput, ExampleSetUpPreparesInputsTheSimulationReaderAccepts) {
  const std::filesystem::path example =
      std::filesystem::path(IONBEAM_TEST_DATA) / "../../../examples/structfit";
  polysim_test::ScratchDir dir(true);
  for (const char* name : {"bfgsin.dat", "cu001_base.in", "cu001_blocking.exp"}) {
    std::filesystem::copy_file(example / name, dir.file(name));
  }
  std::ostringstream console;
  const structfit::FitSetup setup = structfit::read_fit_setup("bfgsin.dat", console);
  const std::vector<float> guesses(setup.parameters.size(), 0.05f);
  for (std::int32_t index = 1; index <= static_cast<std::int32_t>(guesses.size()); ++index) {
    structfit::prepare_simulation_input(setup, guesses, index, "cu001_base.in", "inmulti.in",
                                        console);
    polysim::StatusFile status(dir.file("check.status").string(), console);
    const polysim::SimulationInput in =
        polysim::read_simulation_input(dir.file("inmulti.in").string(), status);
    EXPECT_EQ(in.models.structure_count * in.models.vibration_count, 5) << index;
    EXPECT_EQ(in.dims.n(5), 8) << index;  // eight layers, one plane each
  }
}

TEST(PrepareInput, BaseFilesTheSetUpCannotApplyToAreRefused) {
  struct Case {
    const char* name;
    std::string dimension_line;
    std::string refusal;
  };
  const std::string base = data_text("fit_case_base.in");
  const std::string dims = "    8   2   2   2   4";
  const Case cases[] = {
      {"one element column per type", "    8   1   2   2   4",
       " fit_case_base.in: NELEM = 2 element columns, more than the file's 1 atom types"},
      {"more atoms than the regrouping holds", " 1001   2   2   2   4",
       " fit_case_base.in, line 4: dimension record (record 4), N1 (atoms) = 1001 is outside "
       "1..1000"},
  };
  for (const Case& c : cases) {
    FitCaseDir files;
    std::string text = base;
    text.replace(text.find(dims), dims.size(), c.dimension_line);
    if (c.dimension_line.substr(5, 4) == "   1") text.erase(text.find("    8  15.999\n"), 14);
    files.dir.write("fit_case_base.in", text);
    files.dir.write("bfgsin.dat", data_text("fit_case.dat"));
    std::ostringstream console;
    const structfit::FitSetup setup = structfit::read_fit_setup("bfgsin.dat", console);
    try {
      structfit::prepare_simulation_input(setup, {0.0f, 0.0f, 0.0f}, 1, "fit_case_base.in",
                                          "inmulti.in", console);
      ADD_FAILURE() << c.name;
    } catch (const structfit::SetupRefused& refused) {
      EXPECT_EQ(refused.what(), c.refusal) << c.name;
    }
  }
}

}  // namespace
