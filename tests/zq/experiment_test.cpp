// Connecting to an experiment directory and the error state that reports failures.
#include <gtest/gtest.h>

#include <string>

#include "store_scratch.h"
#include "zq/catalog.h"
#include "zq/zq.h"

namespace {

using zq_test::ScratchDir;

TEST(Experiment, MissingDirectoryCannotBeConnected) {
  ScratchDir dir;
  const std::string missing = dir.str() + "/absent";
  ASSERT_EQ(ZQsetExperimentPath(missing.c_str()), 0);
  EXPECT_EQ(ZQconnectExperiment("capabilities"), ZQ_ENOEXPERIMENT);
  EXPECT_EQ(ZQerrno, ZQ_ENOEXPERIMENT);
  EXPECT_TRUE(zq_test::contains(ZQerrorMessage(ZQerrno), missing)) << ZQerrorMessage(ZQerrno);
}

TEST(Experiment, PlainFileIsNoExperiment) {
  ScratchDir dir;
  dir.write("file", "x");
  ASSERT_EQ(ZQsetExperimentPath((dir.str() + "/file").c_str()), 0);
  EXPECT_EQ(ZQconnectExperiment("capabilities"), ZQ_ENOEXPERIMENT);
}

TEST(Experiment, UnknownConnectArgumentIsRefused) {
  ScratchDir dir;
  ASSERT_EQ(ZQsetExperimentPath(dir.str().c_str()), 0);
  EXPECT_EQ(ZQconnectExperiment("write-everything"), ZQ_EBADARG);
  EXPECT_EQ(ZQconnectExperiment(nullptr), ZQ_EBADARG);
}

TEST(Experiment, EmptyPathMeansTheCurrentDirectory) {
  ScratchDir dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  ASSERT_EQ(ZQsetExperimentPath(""), 0);
  ASSERT_EQ(ZQconnectExperiment(""), 0);
  EXPECT_EQ(ZQcreate1dSpectrum("here", 0, 4, 0, ZQ_INT32), 0);
  std::filesystem::current_path(previous);
  // The directory was fixed when connecting; leaving it does not move the store.
  int dim = 0, bases[8], ranges[8], layout = 0, type = 0;
  EXPECT_EQ(ZQinquireSpectrum("here", &dim, bases, ranges, &layout, &type), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "here.h5"));
}

TEST(Experiment, CallsBeforeConnectingFail) {
  ScratchDir dir;
  ASSERT_EQ(ZQsetExperimentPath(dir.str().c_str()), 0);
  char record[ZQ_RECORD_SIZE];
  EXPECT_EQ(ZQreadInformation("any", 1, record), ZQ_ENOTCONNECTED);
  EXPECT_EQ(ZQcreate1dSpectrum("any", 0, 1, 0, 0), ZQ_ENOTCONNECTED);
  EXPECT_STREQ(ZQerrorMessage(ZQ_ENOTCONNECTED), "experiment store not connected");
}

TEST(ErrorState, LatestFailureKeepsItsOwnMessageOthersTheirFixedText) {
  ScratchDir dir;
  ASSERT_EQ(ZQsetExperimentPath(dir.str().c_str()), 0);
  ASSERT_EQ(ZQconnectExperiment("capabilities"), 0);
  int dim, bases[8], ranges[8], layout, type;
  EXPECT_EQ(ZQinquireSpectrum("ghost", &dim, bases, ranges, &layout, &type), ZQ_ENOSPECTRUM);
  EXPECT_STREQ(ZQerrorMessage(ZQerrno), "no such spectrum 'ghost'");
  EXPECT_STREQ(ZQerrorMessage(ZQ_EBADNAME), "bad spectrum name");
  EXPECT_STREQ(ZQerrorMessage(99), "unknown error");
  // A later success leaves the failure in place, as errno does.
  EXPECT_EQ(ZQcreate1dSpectrum("real", 0, 1, 0, ZQ_INT32), 0);
  EXPECT_EQ(ZQerrno, ZQ_ENOSPECTRUM);
}

TEST(Catalog, ListsSpectrumFilesOnlyInOrder) {
  ScratchDir dir;
  ASSERT_EQ(ZQsetExperimentPath(dir.str().c_str()), 0);
  ASSERT_EQ(ZQconnectExperiment("capabilities"), 0);
  ASSERT_EQ(ZQcreate1dSpectrum("beta", 0, 2, 0, ZQ_INT32), 0);
  ASSERT_EQ(ZQcreate2dSpectrum("alpha", 0, 2, 0, 2, 0, ZQ_INT32), 0);
  dir.write("notes.txt", "not a spectrum");
  dir.write(".beta.h5.99.part", "left over");
  std::filesystem::create_directory(dir.path() / "sub.h5");
  EXPECT_EQ(zq::list_spectra(), (std::vector<std::string>{"alpha", "beta"}));
}

}  // namespace
