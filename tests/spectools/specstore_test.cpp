// specstore run as a process: import and export round trips, info, records, listing, and
// its failures, each one line with exit status 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "../zq/store_scratch.h"
#include "tool_process.h"

namespace {

using tool_test::Outcome;
using tool_test::run_program;
using zq_test::ScratchDir;

// Runs specstore in `cwd` with EXPERIMENTDIR set to `experiment` (unset when nothing).
Outcome specstore(const ScratchDir& cwd, const std::vector<std::string>& args,
                  const std::optional<std::string>& experiment) {
  return run_program("specstore", args, cwd.str(), experiment);
}

class Specstore : public ::testing::Test {
 protected:
  Outcome run(const std::vector<std::string>& args) { return specstore(dir_, args, dir_.str()); }

  ScratchDir dir_;
};

struct TypeSample {
  std::string type;
  std::string counts;  // two lines of three counts, as export writes them
};

TEST_F(Specstore, ImportExportRoundTripIsExactForEveryType) {
  const TypeSample samples[] = {
      {"0", "-128 0 127\n1 2 3\n"},
      {"1", "0 255 7\n8 9 10\n"},
      {"2", "-32768 32767 1\n0 0 0\n"},
      {"3", "0 65535 2\n3 4 5\n"},
      {"4", "-2147483648 2147483647 3\n-1 0 1\n"},
      {"5", "0 4294967295 4\n5 6 7\n"},
      {"6", "0.100000001 -2.5 3.40282347e+38\n1.17549435e-38 0 16777216\n"},
  };
  for (const TypeSample& sample : samples) {
    dir_.write("in.txt", sample.counts);
    const Outcome imported = run({"import", "s" + sample.type, "in.txt", "--type", sample.type});
    ASSERT_EQ(imported.status, 0) << imported.output();
    EXPECT_EQ(imported.output(), "imported spectrum s" + sample.type + " from in.txt\n");
    const Outcome exported = run({"export", "s" + sample.type});
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.output(), sample.counts) << "type " << sample.type;

    // The first column alone is a one-dimensional spectrum.
    const std::string column = sample.counts.substr(0, sample.counts.find(' ')) + "\n";
    dir_.write("line.txt", column);
    ASSERT_EQ(run({"import", "l", "line.txt", "--type", sample.type}).status, 0);
    EXPECT_EQ(run({"export", "l"}).output(), column);
  }
}

TEST_F(Specstore, InfoShowsDescriptionAndRecords) {
  dir_.write("in.txt", "1 2 3\n4 5 6\n");
  ASSERT_EQ(
      run({"import", "scan", "in.txt", "--base", "5,-7", "--type", "3", "--layout", "9"}).status,
      0);
  ASSERT_EQ(run({"record", "scan", "calibration", "2", "Energy keV 2 100.0 0.5"}).status, 0);
  ASSERT_EQ(run({"record", "scan", "information", "4", "beam He+"}).status, 0);
  const Outcome info = run({"info", "scan"});
  EXPECT_EQ(info.status, 0);
  EXPECT_EQ(info.output(),
            "dim 2\nbases 5 -7\nranges 3 2\nlayout 9\ntype 3 (uint16)\n"
            "information 4: beam He+\ncalibration 2: Energy keV 2 100.0 0.5\n");
}

TEST_F(Specstore, TwoBasesMakeASingleColumnTwoDimensional) {
  dir_.write("in.txt", "7\n8\n9\n");
  ASSERT_EQ(run({"import", "col", "in.txt", "--base", "4,10"}).status, 0);
  EXPECT_EQ(run({"info", "col"}).output().substr(0, 31), "dim 2\nbases 4 10\nranges 1 3\nlay");
  EXPECT_EQ(run({"export", "col"}).output(), "7\n8\n9\n");
}

TEST_F(Specstore, RecordsAreReadSetAndCleared) {
  dir_.write("in.txt", "1\n2\n");
  ASSERT_EQ(run({"import", "r", "in.txt"}).status, 0);
  EXPECT_EQ(run({"record", "r", "annotation", "1"}).output(), "\n");
  EXPECT_EQ(run({"record", "r", "annotation", "1", "angle"}).output(), "");
  EXPECT_EQ(run({"record", "r", "annotation", "1"}).output(), "angle\n");
  EXPECT_EQ(run({"record", "r", "annotation", "1", ""}).status, 0);
  EXPECT_EQ(run({"record", "r", "annotation", "1"}).output(), "\n");
  const Outcome beyond = run({"record", "r", "annotation", "2", "x"});
  EXPECT_EQ(beyond.status, 1);
  EXPECT_EQ(beyond.output(), "annotation record 2 outside 1..1 for spectrum 'r': r\n");
  const Outcome too_long = run({"record", "r", "information", "1", std::string(256, 'x')});
  EXPECT_EQ(too_long.status, 1);
  EXPECT_NE(too_long.output().find("at most 255 fit"), std::string::npos);
}

TEST_F(Specstore, ListShowsTheSpectra) {
  dir_.write("in.txt", "1\n");
  ASSERT_EQ(run({"import", "b", "in.txt"}).status, 0);
  ASSERT_EQ(run({"import", "a", "in.txt"}).status, 0);
  EXPECT_EQ(run({"list"}).output(), "a\nb\n");
}

TEST_F(Specstore, ImportReplacesAnExistingSpectrum) {
  dir_.write("one.txt", "1 2\n");
  dir_.write("two.txt", "3\n4\n5\n");
  ASSERT_EQ(run({"import", "s", "one.txt"}).status, 0);
  ASSERT_EQ(run({"import", "s", "two.txt"}).status, 0);
  EXPECT_EQ(run({"export", "s"}).output(), "3\n4\n5\n");
}

struct FailureCase {
  std::vector<std::string> args;
  std::string output;
};

TEST_F(Specstore, FailuresPrintOneLineAndExitOne) {
  dir_.write("ragged.txt", "1 2 3\n4 5\n");
  dir_.write("wide.txt", "1 300\n");
  const std::string usage =
      "Usage: specstore list | info NAME | import NAME FILE [--base B1[,B2]] [--type CODE] "
      "[--layout L] | export NAME | record NAME KIND N [TEXT]\n";
  const FailureCase cases[] = {
      {{"import", "x", "ragged.txt"}, "ragged.txt, line 2: 2 counts where the first line has 3\n"},
      {{"import", "x", "wide.txt", "--type", "0"},
       "wide.txt, line 1: '300' is not a count of type int8\n"},
      {{"import", "x", "wide.txt", "--type", "9"}, "bad type code 9 (valid codes are 0 to 6)\n"},
      {{"import", "x", "wide.txt", "--base", "one"}, usage},
      {{"import", "x", "wide.txt", "--colour", "red"}, usage},
      {{"import", "x", "wide.txt", "--type"}, usage},
      {{"import", "x", "absent.txt"}, "cannot open absent.txt: No such file or directory\n"},
      {{"import", "../x", "wide.txt"}, "spectrum name '../x' holds a path separator: ../x\n"},
      {{"info", "a\nb"}, "spectrum name 'a\\nb' holds a control character: a\\nb\n"},
      {{"record", "x\x01\x7f", "information", "1", "t"},
       "spectrum name 'x\\x01\\x7f' holds a control character: x\\x01\\x7f\n"},
      {{"export", "ghost"}, "no such spectrum 'ghost': ghost\n"},
      {{"record", "ghost", "colour", "1"}, usage},
      {{"record", "ghost", "information", "first"}, usage},
      {{"frobnicate"}, usage},
      {{}, usage},
      {{"info"}, usage},
  };
  for (const FailureCase& c : cases) {
    const Outcome outcome = run(c.args);
    EXPECT_EQ(outcome.status, 1) << c.output;
    EXPECT_EQ(outcome.output(), c.output);
  }
  EXPECT_EQ(run({"list"}).output(), "");  // nothing was created by the failed imports
}

// Byte 55 is the last byte of the superblock's driver-information address: HDF5 still reads
// the file but cannot write it back. A record write used to leave it unreadable and crash
// in HDF5's exit handlers.
TEST_F(Specstore, ARecordWriteOnADamagedSuperblockLeavesTheSpectrumReadable) {
  dir_.write("in.txt", "1 2 3\n4 5 6\n");
  ASSERT_EQ(run({"import", "s", "in.txt"}).status, 0);
  ASSERT_EQ(run({"record", "s", "information", "1", "first"}).status, 0);
  {
    std::fstream file(dir_.path() / "s.h5", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(55);
    file.put('\0');
  }
  const Outcome written = run({"record", "s", "information", "2", "text"});
  EXPECT_EQ(written.status, 0) << written.output();
  EXPECT_EQ(written.output(), "");
  EXPECT_EQ(run({"export", "s"}).output(), "1 2 3\n4 5 6\n");
  EXPECT_EQ(run({"info", "s"}).output(),
            "dim 2\nbases 0 0\nranges 3 2\nlayout 0\ntype 4 (int32)\n"
            "information 1: first\ninformation 2: text\n");
}

TEST_F(Specstore, ASpectrumFileThatIsALinkIsRefused) {
  dir_.write("in.txt", "1\n");
  ASSERT_EQ(run({"import", "s", "in.txt"}).status, 0);
  std::filesystem::create_symlink(dir_.path() / "s.h5", dir_.path() / "l.h5");
  const std::string refusal = "spectrum file '" + (dir_.path() / "l.h5").string() +
                              "' is a symbolic link; the store does not follow links: l\n";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"info", "l"}, {"record", "l", "information", "1", "x"}}) {
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output(), refusal);
  }
  EXPECT_EQ(run({"list"}).output(), "s\n");
}

TEST(SpecstoreStartUp, StoreFailureComesBeforeTheCommandLine) {
  ScratchDir dir;
  const std::string missing = dir.str() + "/none";
  const Outcome outcome = specstore(dir, {"frobnicate"}, missing);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.output(),
            "cannot open experiment directory '" + missing + "': No such file or directory\n");
}

TEST(SpecstoreStartUp, WithoutExperimentDirTheCurrentDirectoryIsTheStore) {
  for (const std::optional<std::string>& value :
       {std::optional<std::string>(), std::optional<std::string>("")}) {
    ScratchDir dir;
    dir.write("in.txt", "4\n");
    EXPECT_EQ(specstore(dir, {"import", "here", "in.txt"}, value).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "here.h5"));
  }
}

}  // namespace
