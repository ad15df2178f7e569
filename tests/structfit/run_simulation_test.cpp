// The embedded simulation against polysim's own run of the same input and seed.
#include "structfit/run_simulation.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "../polysim/scratch_dir.h"
#include "fit_case.h"
#include "structfit/fit_errors.h"

namespace {

using polysim_test::ScratchDir;
using structfit_test::data_text;
using structfit_test::lines_of;

constexpr std::int32_t kSeed = 24680;

// Angle and element columns of the "Elements" table of a polysim result file (the total
// signal column dropped), as the texts of the numbers.
std::vector<std::vector<std::string>> polysim_elements(const std::string& text, int angles) {
  const std::vector<std::string> lines = lines_of(text);
  std::size_t at = 0;
  while (at < lines.size() && lines[at].find("Elements") == std::string::npos) ++at;
  std::vector<std::vector<std::string>> rows;
  for (std::size_t k = at + 3; k < at + 3 + static_cast<std::size_t>(angles) && k < lines.size();
       ++k) {
    std::istringstream in(lines[k]);
    std::vector<std::string> row;
    for (std::string word; in >> word;) row.push_back(word);
    if (row.size() > 1) row.erase(row.begin() + 1);
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::vector<std::string>> short_columns(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : lines_of(text)) {
    std::istringstream in(line);
    std::vector<std::string> row;
    for (std::string word; in >> word;) row.push_back(word);
    rows.push_back(row);
  }
  return rows;
}

TEST(RunSimulation, ShortFilesAreTheElementColumnsOfPolysimsRun) {
  ScratchDir dir;
  dir.write("inmulti.in", data_text("inmulti_displacement.in"));
  dir.write("polysim1.io", "inmulti.in\nfull\n");
  const std::string command = "cd '" + dir.path().string() +
                              "' && IONBEAM_SEED=" + std::to_string(kSeed) +
                              " '" IONBEAM_BIN_DIR "/polysim' > /dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  const engine::FixedTables tables = engine::build_fixed_tables();
  std::ostringstream console;
  structfit::run_simulation(dir.file("inmulti.in"), (dir.path() / "out1").string(), tables, kSeed,
                            console);
  EXPECT_EQ(console.str(),
            " Starting shadowing....\n"
            " Starting blocking angle :           1\n Starting blocking angle :           2\n"
            " Starting blocking angle :           3\n Starting blocking angle :           4\n"
            " Starting blocking angle :           5\n");
  for (int n = 1; n <= 5; ++n) {
    const std::string number = ".000" + std::to_string(n);
    const std::string short_text = dir.read("out1" + number);
    const auto expected = polysim_elements(dir.read("full" + number), 5);
    ASSERT_EQ(expected.size(), 5u);
    EXPECT_EQ(short_columns(short_text), expected) << n;
    EXPECT_EQ(lines_of(short_text)[0].size(), 1u + 7 + 1 + 2 * 7) << n;  // (1X,F7.2,1X,6F7.3)
  }
}

TEST(RunSimulation, InputTheSimulationRefusesIsNamed) {
  ScratchDir dir;
  std::string text = data_text("inmulti_displacement.in");
  text.replace(text.find(" 0 0 0 0 0 0 0 1"), 16, " 0 0 0 0 0 0 0 0");
  dir.write("inmulti.in", text);
  const engine::FixedTables tables = engine::build_fixed_tables();
  std::ostringstream console;
  try {
    structfit::run_simulation(dir.file("inmulti.in"), (dir.path() / "out1").string(), tables, kSeed,
                              console);
    FAIL();
  } catch (const structfit::SetupRefused& refused) {
    EXPECT_EQ(std::string(refused.what()),
              " " + dir.file("inmulti.in").string() + ": not a valid polysim input file");
  }
  EXPECT_EQ(console.str(), "");
  EXPECT_EQ(structfit::short_result_path("out3   ", 7), "out3.0007");
}

}  // namespace
