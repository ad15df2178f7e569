// Every program answers --help and --version with exit status 0, before it touches any file
// or the experiment store, and its help names a README section that exists.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/programs.h"
#include "cli/standard_options.h"
#include "tests/command_output.h"

namespace {

const char* const kPrograms[] = {"polysim",  "monosim",    "structfit", "slabgen",  "ionplot",
                                 "warpcorr", "stepcorr",   "kinecorr",  "flatcorr", "binshrink",
                                 "histsum",  "regioncopy", "histcopy",  "histtext", "specstore"};

// Runs `program option` in an empty directory with the store pointed at a directory that
// does not exist; the directory must still be empty afterwards.
ionbeam_test::CommandOutput run(const std::string& program, const std::string& option,
                                bool& touched) {
  std::string dir = (std::filesystem::temp_directory_path() / "cli-test.XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr) return {-1, "mkdtemp failed"};
  const std::string command = "cd '" + dir + "' && EXPERIMENTDIR=/nonexistent/store '" +
                              IONBEAM_BIN_DIR + "/" + program + "' " + option + " 2>&1";
  const ionbeam_test::CommandOutput out = ionbeam_test::run_command(command);
  touched = !std::filesystem::is_empty(dir);
  std::filesystem::remove_all(dir);
  return out;
}

std::string readme() {
  std::ifstream in(IONBEAM_README);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(StandardOptions, EveryProgramAnswersHelpWithoutTouchingFiles) {
  const std::string sections = readme();
  for (const char* program : kPrograms) {
    SCOPED_TRACE(program);
    bool touched = false;
    const ionbeam_test::CommandOutput help = run(program, "--help", touched);
    EXPECT_EQ(help.status, 0);
    EXPECT_FALSE(touched);
    EXPECT_EQ(help.output.rfind(std::string("Usage: ") + program, 0), 0u) << help.output;
    const std::string section(cli::program_help(program).readme);
    EXPECT_NE(help.output.find("See README.md, section \"" + section + "\"."), std::string::npos);
    EXPECT_NE(sections.find("# " + section + "\n"), std::string::npos) << section;
  }
}

TEST(StandardOptions, EveryProgramAnswersVersionWithoutTouchingFiles) {
  for (const char* program : kPrograms) {
    SCOPED_TRACE(program);
    bool touched = false;
    const ionbeam_test::CommandOutput version = run(program, "--version", touched);
    EXPECT_EQ(version.status, 0);
    EXPECT_FALSE(touched);
    EXPECT_EQ(version.output, std::string(program) + " " + std::string(cli::suite_version()) +
                                  " (ion-beam surface crystallography suite)\n");
  }
}

TEST(StandardOptions, OtherArgumentsAreLeftToTheProgram) {
  std::ostringstream out;
  const char* args[] = {"histcopy", "from", "--help"};
  EXPECT_FALSE(cli::standard_options(3, args, "histcopy", out).has_value());
  EXPECT_FALSE(cli::standard_options(1, args, "histcopy", out).has_value());
  EXPECT_TRUE(out.str().empty());
  EXPECT_THROW(cli::standard_options(1, args, "nosuchprogram", out), std::out_of_range);
}

}  // namespace
