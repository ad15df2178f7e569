// How the store changes files: never in place, always through a hidden copy that is renamed
// over the spectrum's file; held copies until the process confirms them; leftovers of dead
// processes swept at connect; links neither followed nor created.
#include <gtest/gtest.h>
#include <hdf5.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store_scratch.h"
#include "zq/zq.h"

namespace {

using zq_test::StoreTest;

std::string bytes_of(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A process number that belonged to a process which has ended.
pid_t ended_process() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

std::string hidden_name(const std::string& spectrum, pid_t pid) {
  return "." + spectrum + ".h5." + std::to_string(pid) + ".part";
}

class Changes : public StoreTest {
 protected:
  void TearDown() override { ZQfinishChanges(0); }

  // Entries of the experiment whose names start with a dot.
  std::vector<std::string> hidden_entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      const std::string name = entry.path().filename().string();
      if (name.front() == '.') names.push_back(name);
    }
    return names;
  }

  static std::vector<std::int32_t> line(const char* name, int count) {
    std::vector<std::int32_t> counts(static_cast<std::size_t>(count), -1);
    EXPECT_EQ(ZQread1dSpectrum(name, 0, count, counts.data(), ZQ_INT32), 0)
        << ZQerrorMessage(ZQerrno);
    return counts;
  }

  static std::string information(const char* name, int number) {
    char record[ZQ_RECORD_SIZE] = "unread";
    EXPECT_EQ(ZQreadInformation(name, number, record), 0) << ZQerrorMessage(ZQerrno);
    return record;
  }
};

TEST_F(Changes, EachCallPlacesItsSpectrumAndLeavesNoHiddenFile) {
  const std::int32_t counts[] = {4, 5, 6};
  ASSERT_EQ(ZQcreate1dSpectrum("s", 0, 3, 0, ZQ_INT32), 0);
  ASSERT_EQ(ZQwrite1dSpectrum("s", 0, 3, counts, ZQ_INT32), 0);
  ASSERT_EQ(ZQwriteInformation("s", 2, "beam He+"), 0);
  EXPECT_EQ(ZQwrite1dSpectrum("s", 0, 4, counts, ZQ_INT32), ZQ_EEXTENT);
  EXPECT_EQ(ZQwriteInformation("s", 17, "x"), ZQ_EBADRECORD);
  EXPECT_EQ(line("s", 3), (std::vector<std::int32_t>{4, 5, 6}));
  EXPECT_EQ(information("s", 2), "beam He+");
  EXPECT_TRUE(hidden_entries().empty());
}

TEST_F(Changes, HeldSpectraAreSeenByTheirProcessOnlyUntilFinished) {
  const std::int32_t old_counts[] = {1, 2};
  ASSERT_EQ(ZQcreate1dSpectrum("t", 0, 2, 0, ZQ_INT32), 0);
  ASSERT_EQ(ZQwrite1dSpectrum("t", 0, 2, old_counts, ZQ_INT32), 0);
  const std::string placed = bytes_of(dir_.path() / "t.h5");

  for (const int keep : {0, 1}) {
    ASSERT_EQ(ZQholdChanges(), 0);
    const std::int32_t new_counts[] = {7, 8, 9};
    ASSERT_EQ(ZQcreate1dSpectrum("t", 0, 3, 0, ZQ_INT32), 0);
    ASSERT_EQ(ZQwrite1dSpectrum("t", 0, 3, new_counts, ZQ_INT32), 0);
    ASSERT_EQ(ZQwriteInformation("t", 1, "new"), 0);
    EXPECT_EQ(line("t", 3), (std::vector<std::int32_t>{7, 8, 9}));
    EXPECT_EQ(information("t", 1), "new");
    EXPECT_EQ(bytes_of(dir_.path() / "t.h5"), placed) << "written before the end";
    EXPECT_EQ(hidden_entries(), std::vector<std::string>{hidden_name("t", getpid())});

    ASSERT_EQ(ZQfinishChanges(keep), 0);
    EXPECT_TRUE(hidden_entries().empty());
    if (keep == 0) {
      EXPECT_EQ(bytes_of(dir_.path() / "t.h5"), placed) << "removed changes reached the file";
      EXPECT_EQ(line("t", 2), (std::vector<std::int32_t>{1, 2}));
    } else {
      EXPECT_EQ(line("t", 3), (std::vector<std::int32_t>{7, 8, 9}));
      EXPECT_EQ(information("t", 1), "new");
    }
  }
}

TEST_F(Changes, ConnectRemovesHiddenFilesOfEndedProcessesOnly) {
  const pid_t ended = ended_process();
  const std::string leftover = hidden_name("gone", ended);
  const std::string running = hidden_name("busy", getppid());
  const std::string own = hidden_name("mine", getpid());
  for (const std::string& name : {leftover, running, own, std::string(".notes.part")}) {
    dir_.write(name, "partial");
  }
  ASSERT_EQ(ZQconnectExperiment("capabilities"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / leftover));
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / running));
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / own));
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / ".notes.part"));
}

TEST_F(Changes, APlantedLinkIsNeverFollowed) {
  const zq_test::ScratchDir elsewhere;
  elsewhere.write("victim", "precious");
  const std::filesystem::path victim = elsewhere.path() / "victim";
  // A link at this process's hidden name for T, and T's file itself a link.
  std::filesystem::create_symlink(victim, dir_.path() / hidden_name("T", getpid()));
  ASSERT_EQ(ZQcreate1dSpectrum("T", 0, 4, 0, ZQ_INT32), 0) << ZQerrorMessage(ZQerrno);
  EXPECT_EQ(bytes_of(victim), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(dir_.path() / "T.h5"));
  EXPECT_TRUE(hidden_entries().empty());

  std::filesystem::create_symlink(dir_.path() / "T.h5", dir_.path() / "L.h5");
  int dim, bases[ZQ_MAX_DIM], ranges[ZQ_MAX_DIM], layout, type;
  EXPECT_EQ(ZQinquireSpectrum("L", &dim, bases, ranges, &layout, &type), ZQ_EDAMAGED);
  EXPECT_EQ(std::string(ZQerrorMessage(ZQerrno)),
            "spectrum file '" + (dir_.path() / "L.h5").string() +
                "' is a symbolic link; the store does not follow links");
  EXPECT_EQ(ZQwriteInformation("L", 1, "x"), ZQ_EDAMAGED);
  // Creating L replaces the link itself, never what it points to.
  const std::string target = bytes_of(dir_.path() / "T.h5");
  ASSERT_EQ(ZQcreate1dSpectrum("L", 0, 9, 0, ZQ_INT8), 0);
  EXPECT_FALSE(std::filesystem::is_symlink(dir_.path() / "L.h5"));
  EXPECT_EQ(bytes_of(dir_.path() / "T.h5"), target);
}

// Byte 55 is the last byte of the superblock's driver-information address. Cleared, the file
// still reads, but HDF5 cannot write it back; written in place it became unreadable.
TEST_F(Changes, AWriteLeavesAFileWithADamagedSuperblockReadable) {
  const std::int32_t counts[] = {3, 1, 4};
  ASSERT_EQ(ZQcreate1dSpectrum("s", 0, 3, 0, ZQ_INT32), 0);
  ASSERT_EQ(ZQwrite1dSpectrum("s", 0, 3, counts, ZQ_INT32), 0);
  ASSERT_EQ(ZQwriteInformation("s", 1, "first"), 0);
  {
    std::fstream file(dir_.path() / "s.h5", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(55);
    file.put('\0');
  }
  const ssize_t open_before = H5Fget_obj_count(H5F_OBJ_ALL, H5F_OBJ_ALL);
  EXPECT_EQ(ZQwriteInformation("s", 2, "text"), 0) << ZQerrorMessage(ZQerrno);
  EXPECT_EQ(H5Fget_obj_count(H5F_OBJ_ALL, H5F_OBJ_ALL), open_before);
  EXPECT_EQ(line("s", 3), (std::vector<std::int32_t>{3, 1, 4}));
  EXPECT_EQ(information("s", 1), "first");
  EXPECT_EQ(information("s", 2), "text");
}

TEST_F(Changes, ARefusedChangeLeavesTheFileAsItWas) {
  ASSERT_EQ(ZQcreate1dSpectrum("s", 0, 2, 0, ZQ_INT8), 0);
  ASSERT_EQ(ZQwriteInformation("s", 1, "kept"), 0);
  const std::string placed = bytes_of(dir_.path() / "s.h5");
  const std::int32_t too_big[] = {1, 300};
  const std::string too_long(256, 'x');
  EXPECT_EQ(ZQwrite1dSpectrum("s", 0, 2, too_big, ZQ_INT32), ZQ_ECONVERT);
  EXPECT_EQ(ZQwriteInformation("s", 1, too_long.c_str()), ZQ_ERECORDLONG);
  EXPECT_EQ(ZQwriteCalibration("s", 2, "E keV 2 0 1"), ZQ_EBADRECORD);
  EXPECT_EQ(bytes_of(dir_.path() / "s.h5"), placed);
  EXPECT_TRUE(hidden_entries().empty());
}

}  // namespace
