// Creating and describing spectra: shapes, replacement, refused arguments, damaged files.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "store_scratch.h"
#include "zq/zq.h"

namespace {

using zq_test::StoreTest;

struct Inquiry {
  int status = -1;
  int dim = -1;
  std::array<int, 8> bases{};
  std::array<int, 8> ranges{};
  int layout = -1;
  int type = -1;
};

Inquiry inquire(const char* name) {
  Inquiry result;
  result.bases.fill(-7);
  result.ranges.fill(-7);
  result.status = ZQinquireSpectrum(name, &result.dim, result.bases.data(), result.ranges.data(),
                                    &result.layout, &result.type);
  return result;
}

using Spectrum = StoreTest;

TEST_F(Spectrum, DescriptionComesBackAsCreated) {
  ASSERT_EQ(ZQcreate2dSpectrum("scan", -5, 163, 100, 119, 3, ZQ_UINT16), 0);
  const Inquiry scan = inquire("scan");
  ASSERT_EQ(scan.status, 0);
  EXPECT_EQ(scan.dim, 2);
  EXPECT_EQ(scan.bases, (std::array<int, 8>{-5, 100, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(scan.ranges, (std::array<int, 8>{163, 119, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(scan.layout, 3);
  EXPECT_EQ(scan.type, ZQ_UINT16);

  ASSERT_EQ(ZQcreate1dSpectrum("line", 7, 1, -2, ZQ_FLOAT32), 0);
  const Inquiry line = inquire("line");
  EXPECT_EQ(line.dim, 1);
  EXPECT_EQ(line.bases[0], 7);
  EXPECT_EQ(line.ranges[0], 1);
  EXPECT_EQ(line.layout, -2);
  EXPECT_EQ(line.type, ZQ_FLOAT32);
}

TEST_F(Spectrum, NewSpectrumReadsAsZeroCounts) {
  ASSERT_EQ(ZQcreate1dSpectrum("fresh", 0, 5, 0, ZQ_INT16), 0);
  std::vector<int> counts(5, 9);
  ASSERT_EQ(ZQread1dSpectrum("fresh", 0, 5, counts.data(), ZQ_INT32), 0);
  EXPECT_EQ(counts, std::vector<int>(5, 0));
}

TEST_F(Spectrum, CreatingAnExistingSpectrumReplacesItWhole) {
  ASSERT_EQ(ZQcreate1dSpectrum("same", 0, 4, 0, ZQ_INT32), 0);
  const int counts[4] = {1, 2, 3, 4};
  ASSERT_EQ(ZQwrite1dSpectrum("same", 0, 4, counts, ZQ_INT32), 0);
  ASSERT_EQ(ZQwriteInformation("same", 1, "old"), 0);
  ASSERT_EQ(ZQcreate2dSpectrum("same", 0, 2, 0, 3, 1, ZQ_UINT8), 0);
  const Inquiry same = inquire("same");
  EXPECT_EQ(same.dim, 2);
  EXPECT_EQ(same.type, ZQ_UINT8);
  char record[ZQ_RECORD_SIZE];
  ASSERT_EQ(ZQreadInformation("same", 1, record), 0);
  EXPECT_STREQ(record, "");
  // Nothing is left of the partly written file.
  std::size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1u);
}

struct CreateCase {
  int base1, range1, base2, range2, type;
  int expected;
};

TEST_F(Spectrum, UnusableShapesAndTypesAreRefused) {
  const CreateCase cases[] = {
      {0, 0, 0, 5, ZQ_INT32, ZQ_EBADSHAPE},
      {0, 5, 0, -1, ZQ_INT32, ZQ_EBADSHAPE},
      {2147483647, 2, 0, 1, ZQ_INT32, ZQ_EBADSHAPE},  // runs past the largest channel
      {2147483646, 2, 0, 1, ZQ_INT32, 0},
      {0, 65536, 0, 65536, ZQ_INT32, ZQ_EBADSHAPE},  // more channels than an int counts
      {0, 5, 0, 5, 7, ZQ_EBADTYPE},
      {0, 5, 0, 5, -1, ZQ_EBADTYPE},
  };
  for (const CreateCase& c : cases) {
    EXPECT_EQ(ZQcreate2dSpectrum("shape", c.base1, c.range1, c.base2, c.range2, 0, c.type),
              c.expected)
        << c.base1 << " " << c.range1 << " " << c.base2 << " " << c.range2 << " " << c.type;
  }
}

TEST_F(Spectrum, BadNamesAreRefusedByEveryCall) {
  int buffer[1] = {};
  char record[ZQ_RECORD_SIZE];
  EXPECT_EQ(ZQcreate1dSpectrum("../out", 0, 1, 0, ZQ_INT32), ZQ_EBADNAME);
  EXPECT_TRUE(zq_test::contains(ZQerrorMessage(ZQerrno), "separator"));
  EXPECT_EQ(ZQcreate1dSpectrum("", 0, 1, 0, ZQ_INT32), ZQ_EBADNAME);
  EXPECT_EQ(ZQread1dSpectrum("..", 0, 1, buffer, ZQ_INT32), ZQ_EBADNAME);
  EXPECT_EQ(ZQwriteCalibration("a/b", 1, "x"), ZQ_EBADNAME);
  EXPECT_EQ(ZQreadEfficiency(std::string(201, 'n').c_str(), 1, record), ZQ_EBADNAME);
  EXPECT_EQ(ZQcreate1dSpectrum(nullptr, 0, 1, 0, ZQ_INT32), ZQ_EBADARG);
  EXPECT_FALSE(std::filesystem::exists(dir_.path().parent_path() / "out.h5"));
}

TEST_F(Spectrum, MissingSpectrumIsReportedByName) {
  const Inquiry ghost = inquire("ghost");
  EXPECT_EQ(ghost.status, ZQ_ENOSPECTRUM);
  EXPECT_TRUE(zq_test::contains(ZQerrorMessage(ZQerrno), "'ghost'"));
  int counts[1];
  EXPECT_EQ(ZQwrite1dSpectrum("ghost", 0, 1, counts, ZQ_INT32), ZQ_ENOSPECTRUM);
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "ghost.h5"));
}

TEST_F(Spectrum, FileThatIsNoSpectrumIsReportedDamaged) {
  dir_.write("text.h5", "counts 1 2 3\n");
  EXPECT_EQ(inquire("text").status, ZQ_EDAMAGED);
  EXPECT_TRUE(zq_test::contains(ZQerrorMessage(ZQerrno), "not an HDF5 file"))
      << ZQerrorMessage(ZQerrno);
}

TEST_F(Spectrum, Hdf5FailureCarriesHdf5sReason) {
  ASSERT_EQ(ZQcreate1dSpectrum("cut", 0, 1000, 0, ZQ_INT32), 0);
  std::vector<int> counts(1000, 1);
  ASSERT_EQ(ZQwrite1dSpectrum("cut", 0, 1000, counts.data(), ZQ_INT32), 0);
  std::filesystem::resize_file(dir_.path() / "cut.h5", 1500);
  EXPECT_EQ(inquire("cut").status, ZQ_EHDF5);
  const std::string message = ZQerrorMessage(ZQerrno);
  EXPECT_TRUE(zq_test::contains(message, "HDF5 failure while opening spectrum file")) << message;
  EXPECT_TRUE(zq_test::contains(message, "truncated")) << message;
}

}  // namespace
