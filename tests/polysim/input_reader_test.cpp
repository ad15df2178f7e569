// Reading a complete simulation input file, its progress lines and its failure paths.
#include <gtest/gtest.h>

#include <sstream>

#include "polysim/input_reader.h"
#include "polysim/run_errors.h"
#include "polysim/status_file.h"
#include "sample_input.h"
#include "scratch_dir.h"
#include "textio/errors.h"
#include "textio/fixed_text.h"

namespace {

using polysim_test::ScratchDir;

struct ReadRun {
  ScratchDir dir;
  std::ostringstream console;
  polysim::StatusFile status{(dir.path() / "run.status").string(), console};

  polysim::SimulationInput read(const std::string& text) {
    dir.write("in.dat", text);
    return polysim::read_simulation_input((dir.path() / "in.dat").string(), status);
  }
};

// The sample with one line replaced (0-based line index).
std::string with_line(std::size_t index, const std::string& line) {
  std::istringstream in(polysim_test::sample_input());
  std::string out, text;
  for (std::size_t k = 0; std::getline(in, text); ++k) out += (k == index ? line : text) + "\n";
  return out;
}

TEST(InputReader, ReadsEveryGroupIntoTablesSizedByTheCounts) {
  ReadRun run;
  const polysim::SimulationInput in = run.read(polysim_test::sample_input());
  EXPECT_EQ(in.comment, textio::fixed_width(" Test slab for the reader", 80));
  EXPECT_EQ(in.options.start_mode, 0);
  EXPECT_EQ(in.options.overlayer_flag, 1);
  EXPECT_EQ(in.options.potential_selector, 1);
  ASSERT_EQ(in.crystal.types.size(), 2u);
  EXPECT_EQ(in.crystal.types[1].z, 8);
  EXPECT_FLOAT_EQ(in.crystal.types[1].mass, 15.999f);
  EXPECT_EQ(in.options.overlayer_type, 2);
  EXPECT_FLOAT_EQ(in.options.overlayer_density, 1.5e15f);
  ASSERT_EQ(in.crystal.atoms.size(), 4u);
  const engine::Atom& third = in.crystal.atoms[2];
  EXPECT_FLOAT_EQ(third.z, 1.8f);
  EXPECT_EQ(third.layer, 2);
  EXPECT_FLOAT_EQ(third.sigma, 0.08f);
  EXPECT_EQ(third.type, 1);  // extra values after the type are skipped
  EXPECT_EQ(third.change_class, 1);
  EXPECT_EQ(in.crystal.x_edges, (std::vector<float>{0.0f, 0.9f, 0.0f}));
  EXPECT_EQ(in.crystal.y_edges.size(), 2u);
  EXPECT_EQ(in.crystal.z_edges, (std::vector<float>{-0.9f, 0.9f, 0.0f}));
  EXPECT_EQ(in.crystal.cell_atom.size(), 4u);
  EXPECT_FLOAT_EQ(in.crystal.repeat_x, 3.6f);
  ASSERT_EQ(in.beam.detection_angles.size(), 5u);
  EXPECT_FLOAT_EQ(in.beam.detection_angles[0], 100.0f);
  EXPECT_FLOAT_EQ(in.beam.atoms_per_layer, 2.0f);
  EXPECT_FLOAT_EQ(in.beam.block_flux, 25.0f);
  ASSERT_EQ(in.structure_params.size(), 1u);
  EXPECT_EQ(in.structure_params[0].name, textio::fixed_width("top shift", 20));
  EXPECT_EQ(in.structure_params[0].values, (std::vector<float>{0.0f, -0.1f}));
  EXPECT_EQ(in.vibration_params[0].choice, (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_FLOAT_EQ(in.models.shift(2, 1).dz, -0.1f);
  EXPECT_FLOAT_EQ(in.models.shift(2, 2).dx, 0.05f);
  EXPECT_FLOAT_EQ(in.models.sigma(3, 1), 0.2f);
  EXPECT_FLOAT_EQ(in.models.sigma(2, 3), 0.08f);
}

TEST(InputReader, ProgressLinesGoToConsoleAndStatusFile) {
  ReadRun run;
  run.read(polysim_test::sample_input());
  const std::string console = run.console.str();
  EXPECT_EQ(console.substr(0, 16), " Readin crystal\n");
  const std::string status = run.dir.read("run.status");
  ASSERT_EQ(status.size(), (1u + 24 + 2 + 80 + 1) + (1u + 24 + 31 + 1));
  EXPECT_EQ(status.substr(25, 2 + 25), "   Test slab for the reader");
  EXPECT_EQ(status.substr(status.size() - 32), "  Reading multimodel parameters\n");
  EXPECT_EQ(console.substr(16), status);
}

TEST(InputReader, BlankCommentWritesNoCommentLine) {
  ReadRun run;
  run.read(with_line(0, "   "));
  const std::string status = run.dir.read("run.status");
  EXPECT_EQ(status.size(), 1u + 24 + 31 + 1);
}

TEST(InputReader, OptionFlagsMustBeSevenSettingsAndMarkerOne) {
  const std::pair<const char*, bool> cases[] = {
      {" 0 0 0 0 0 0 0 1", true},  {" 5 1 0 0 0 0 0 1", true},  {" 0 0 0 0 0 0 0 0", false},
      {" 0 0 0 1 0 0 0 1", false}, {" 0 0 0 0 0 0 2 1", false}, {" 0,0,0,0,0,0,0,1", true},
  };
  for (const auto& [flags, valid] : cases) {
    ReadRun run;
    if (valid) {
      EXPECT_NO_THROW(run.read(with_line(2, flags))) << flags;
      continue;
    }
    EXPECT_THROW(run.read(with_line(2, flags)), polysim::JobAborted) << flags;
    const std::string expected =
        " ---------------------------------\n Not a valid polysim input file!\n"
        " - Job aborted. Perhaps try monosim?)\n";
    EXPECT_EQ(run.dir.read("run.status"), expected);
    EXPECT_EQ(run.console.str(), expected);
  }
}

TEST(InputReader, MissingInputWritesAbortBlockAndBanner) {
  ReadRun run;
  EXPECT_THROW(polysim::read_simulation_input((run.dir.path() / "absent.in").string(), run.status),
               polysim::JobAborted);
  const std::string block =
      " -------------------------\n Error opening input file!\n - Job aborted\n";
  EXPECT_EQ(run.dir.read("run.status"), block);
  EXPECT_EQ(run.console.str(), block +
                                   "\n\n  ************************************************\n"
                                   "  **** You've made at least one serious error ****\n"
                                   "  *********** Sorry I cannot help more ***********\n");
}

TEST(InputReader, ZeroParameterCountsAndNoDisplacedAtoms) {
  // N12 = N13 = 0: group 17 follows the beam directly; N18 = N19 = 0: one empty line per
  // model, two structure models and one vibration model.
  const std::string text = R"( no parameters
 0 0
 0 0 0 0 0 0 0 1
 1 1 1 1 1 2 2 2 1 2 1 0 0 0 0 0 0 0 0
 29 63.5
 1 0
 0 0
 0.0 0.0 0.0 1 1 1 0.1 0 0 1
 2.5 2.5
 0.0
 0.0
 -1.0
 0 0 120 1 1
 1 1.0 100 10 10



 7
)";
  ReadRun run;
  const polysim::SimulationInput in = run.read(text);
  EXPECT_TRUE(in.structure_params.empty());
  EXPECT_TRUE(in.models.structure_shift.empty());
  EXPECT_EQ(in.models.structure_count, 2);
}

TEST(InputReader, EdgeListSpreadOverLinesThenNextGroupOnFollowingLine) {
  std::string text = polysim_test::sample_input();
  text.replace(text.find(" 0.0 0.9\n"), 9, " 0.0\n\n 0.9 99 99\n");
  ReadRun run;
  const polysim::SimulationInput in = run.read(text);
  EXPECT_EQ(in.crystal.x_edges[1], 0.9f);
  EXPECT_EQ(in.crystal.y_edges[0], 0.0f);
}

TEST(InputReader, MalformedOrShortFileNamesFileLineAndItem) {
  ReadRun run;
  try {
    run.read(with_line(8, " 0.0 0.0 0.0 one 1 1 0.1 9.0 9.0 1"));
    FAIL() << "no error";
  } catch (const textio::ReadError& error) {
    EXPECT_EQ(error.line(), 9);
    EXPECT_EQ(error.item(), "atom_cell_i of atom 1");
    EXPECT_NE(std::string(error.what()).find("in.dat"), std::string::npos);
  }
  ReadRun short_run;
  const std::string text = polysim_test::sample_input();
  EXPECT_THROW(short_run.read(text.substr(0, text.find(" 'top shift'"))), textio::ReadError);
  // The lines written before the error stay in the status file.
  EXPECT_NE(short_run.dir.read("run.status").find("Reading multimodel parameters"),
            std::string::npos);
}

}  // namespace
