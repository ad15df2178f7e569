// monosim run as a process in a scratch directory: its console text, "out.status", result file
// and exit status on the finished path and on every failure path.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "../polysim/scratch_dir.h"
#include "mono_case.h"

namespace {

using polysim_test::ScratchDir;

struct Outcome {
  int status;
  std::string output;  // standard output
  std::string errors;  // standard error
};

Outcome run_monosim(const ScratchDir& dir, const std::string& environment = "IONBEAM_SEED=7") {
  const std::string command = "cd '" + dir.path().string() + "' && " + environment + " '" +
                              IONBEAM_BIN_DIR "/monosim' 2>errors.txt";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, "", ""};
  std::string output;
  std::array<char, 4096> buffer{};
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
    output.append(buffer.data(), n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output, dir.read("errors.txt")};
}

std::string read_data(const std::string& name) {
  std::ifstream in(std::filesystem::path(IONBEAM_TEST_DATA) / name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

monosim_test::Column tiny() {
  monosim_test::Column c;
  c.shadow_flux = c.block_flux = 20.0f;
  return c;
}

void set_up(const ScratchDir& dir, const std::string& input) {
  dir.write("monosim1.io", "slab.in\nslab.out\n");
  dir.write("slab.in", input);
}

std::string with(const std::string& text, const std::string& from, const std::string& to) {
  std::string out = text;
  const std::size_t at = out.find(from);
  if (at == std::string::npos) throw std::logic_error("not in the input: " + from);
  return out.replace(at, from.size(), to);
}

const std::string kHeader = " STATUS-REPORT OF \"MONOSIM\" RUN\n Inputfile:  slab.in" +
                            std::string(73, ' ') + "\n Outputfile: slab.out" +
                            std::string(72, ' ') + "\n";

// Every console and status line in its order, the seed line, the result file.
TEST(MonosimProgram, RunsFromPointerFileToCompletionLine) {
  ScratchDir dir;
  set_up(dir, tiny().text());
  const Outcome run = run_monosim(dir);
  ASSERT_EQ(run.status, 0) << run.output << run.errors;
  const std::string status = dir.read("out.status");
  EXPECT_EQ(status.substr(0, kHeader.size()), kHeader);
  std::size_t at = 0;
  for (const char* line :
       {"  Random seed:                    7\n", " Starting Shadowing calculation now.\n",
        " Starting blocking calculation now.\n", " Finished with blocking angle :           1\n",
        " JOB SUCCESSFULLY COMPLETED\n"}) {
    const std::size_t found = status.find(line, at);
    ASSERT_NE(found, std::string::npos) << line << "\n" << status;
    at = found;
  }
  EXPECT_EQ(status.substr(status.size() - 28), " JOB SUCCESSFULLY COMPLETED\n");
  at = 0;
  for (const char* line :
       {" STATUS-REPORT OF", " Gaussian Array has been generated\n",
        " Arrays have been allocated\n", " Input File has beed successfully read in\n",
        "  Random seed:", " Starting Shadowing", " JOB SUCCESSFULLY COMPLETED\n"}) {
    const std::size_t found = run.output.find(line, at);
    ASSERT_NE(found, std::string::npos) << line << "\n" << run.output;
    at = found;
  }
  EXPECT_TRUE(contains(dir.read("slab.out"), " Seed      :  7\n"));
  EXPECT_TRUE(contains(dir.read("slab.out"), "Summed hitting probability(  2 layers)  = "));
}

// Flag 5 is not used: the file differs only in its line of flags.
TEST(MonosimProgram, FlagFiveIsAcceptedAndChangesNothing) {
  ScratchDir dir;
  const std::string input = tiny().text();
  set_up(dir, input);
  ASSERT_EQ(run_monosim(dir).status, 0);
  const std::string plain = dir.read("slab.out");
  set_up(dir, with(input, " 1 0 0 0 0 0 0 0\n", " 1 0 0 0 4 0 0 0\n"));
  ASSERT_EQ(run_monosim(dir).status, 0);
  EXPECT_EQ(dir.read("slab.out"),
            with(plain, "   1  0  0  0  0  0  0  0\n", "   1  0  0  0  4  0  0  0\n"));
}

TEST(MonosimProgram, FlagSevenOrEightIsTheWrongProgram) {
  for (const char* flags : {" 1 0 0 0 0 0 1 0\n", " 1 0 0 0 0 0 0 1\n", " 0 0 0 0 0 0 0 1\n"}) {
    ScratchDir dir;
    set_up(dir, with(tiny().text(), " 1 0 0 0 0 0 0 0\n", flags));
    const Outcome run = run_monosim(dir);
    EXPECT_EQ(run.status, 1) << flags;
    EXPECT_EQ(dir.read("out.status"), kHeader) << flags;
    EXPECT_EQ(run.output, kHeader + " Gaussian Array has been generated\n Wrong program\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("slab.out")));
  }
}

// Values the run cannot compute with: one line naming the value, on the console and in the
// status file, exit status 1, no result file.
TEST(MonosimProgram, ValuesOutsideTheirRangeAreRefusedNamingThem) {
  const std::string input = tiny().text();
  monosim_test::Column correlated = tiny();
  correlated.correlation_flag = 1;
  correlated.c = 1.0f;
  const std::pair<std::string, std::string> cases[] = {
      {correlated.text(),
       " correlation_coefficient = 1, must lie between -1 and 1 (both excluded)"},
      {with(correlated.text(), " 1 3\n", " -1.5 3\n"),
       " correlation_coefficient = -1.5, must lie between -1 and 1 (both excluded)"},
      {with(correlated.text(), " 1 3\n", " 0.5 -3\n"),
       " correlation_distance = -3 Angstrom, must be finite and at least 0 Angstrom"},
      {with(input, "1 1 1 0.06 0.06 0.06", "1 1 1 0 0.06 0.06"),
       " Atom 1: atom_sigma_x = 0 Angstrom, must be within 0.001..5 Angstrom"},
      {with(input, "1 1 2 0.06 0.06 0.06", "1 1 2 0.06 0.06 -0.1"),
       " Atom 2: atom_sigma_z = -0.1 Angstrom, must be within 0.001..5 Angstrom"},
      {with(input, " 2 1 1 1 2 2 2 3", " 2 1 1 1 2 3 2 3"),
       " Dimension record: x_edge_count N6 = 3, must be cell_count_x N3 + 1 = 2"},
      {with(input, " 1 0 0 0 0 0 0 0\n", " 1 0 3 0 0 0 0 0\n"),
       " potential_selector = 3, must be 0 (Moliere), 1 (Biersack universal) or 2 (bare "
       "Coulomb)"},
      {with(input, " 0 0 120 1.0 1.0", " 0 0 60 1.0 1.0"),
       " Detection angle 1 = 60 degree: the exit direction does not leave through the surface"},
  };
  for (const auto& [text, message] : cases) {
    ScratchDir dir;
    set_up(dir, text);
    const Outcome run = run_monosim(dir);
    EXPECT_EQ(run.status, 1) << message;
    EXPECT_TRUE(contains(run.output, message + "\n")) << message << "\n" << run.output;
    EXPECT_TRUE(contains(dir.read("out.status"), message + "\n")) << message;
    EXPECT_FALSE(std::filesystem::exists(dir.file("slab.out"))) << message;
  }
  // With correlation off, the coefficient is not used and not checked.
  ScratchDir dir;
  set_up(dir, with(input, " 0 3\n", " 7 3\n"));
  EXPECT_EQ(run_monosim(dir).status, 0);
}

// The file layer: one line on standard error naming the file (and the line and item).
TEST(MonosimProgram, FileErrorsNameTheFile) {
  const std::string input = tiny().text();
  const std::pair<std::string, std::string> cases[] = {
      {"", "monosim: cannot open the pointer file ./monosim1.io\n"},
      {"absent", "monosim: cannot open input file absent.in\n"},
      {with(input, " 29 63.546", " 29 heavy"),
       "monosim: slab.in, line 5: cannot read 'heavy' as a real for type_mass of atom type 1\n"},
      {input.substr(0, input.find(" 4 4\n")), "monosim: slab.in, line "},
  };
  for (const auto& [text, message] : cases) {
    ScratchDir dir;
    if (text == "absent") {
      dir.write("monosim1.io", "absent.in\nslab.out\n");
    } else if (!text.empty()) {
      set_up(dir, text);
    }
    const Outcome run = run_monosim(dir);
    EXPECT_EQ(run.status, 1) << message;
    EXPECT_TRUE(contains(run.errors, message)) << message << "\n" << run.errors;
    EXPECT_FALSE(std::filesystem::exists(dir.file("slab.out")));
  }
  // No fall-back for the status file: a directory in its place stops the run.
  ScratchDir dir;
  set_up(dir, input);
  std::filesystem::create_directory(dir.file("out.status"));
  const Outcome run = run_monosim(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.errors, "monosim: cannot open status file out.status")) << run.errors;
  EXPECT_FALSE(std::filesystem::exists(dir.file("dump.status")));
}

// At a fixed seed the result file is the one recorded in data/fixed_seed (anisotropic
// amplitudes, correlation, a grazing blocking row), on 1, 2 or 3 threads; another seed gives
// another file.
TEST(MonosimProgram, FixedSeedWritesTheRecordedFileAtAnyThreadCount) {
  const std::string input = read_data("fixed_seed/column.in");
  for (const char* threads : {"1", "2", "3"}) {
    ScratchDir dir;
    dir.write("monosim1.io", "column.in\ncolumn.out\n");
    dir.write("column.in", input);
    const Outcome run =
        run_monosim(dir, std::string("IONBEAM_SEED=20240611 OMP_NUM_THREADS=") + threads);
    ASSERT_EQ(run.status, 0) << run.output << run.errors;
    EXPECT_EQ(dir.read("column.out"), read_data("fixed_seed/column.out")) << threads;
  }
  ScratchDir dir;
  dir.write("monosim1.io", "column.in\ncolumn.out\n");
  dir.write("column.in", input);
  ASSERT_EQ(run_monosim(dir, "IONBEAM_SEED=20240612").status, 0);
  EXPECT_NE(dir.read("column.out"), read_data("fixed_seed/column.out"));
}

// The example inputs stay readable.
TEST(MonosimProgram, ExampleInputsRead) {
  for (const char* name : {"cu001_mono.in", "cu001_mono_correlated.in"}) {
    const monosim::MonoInput input =
        monosim_test::read_text(read_data(std::string("../../../examples/") + name));
    EXPECT_EQ(input.amplitudes.size(), 16u) << name;
    EXPECT_EQ(input.amplitudes[0].z, 0.12f) << name;
  }
}

}  // namespace
