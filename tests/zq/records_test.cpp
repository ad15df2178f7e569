// Descriptive records: absent, full-length, too long, numbering, removal, and records that
// other HDF5 tools wrote.
#include <gtest/gtest.h>
#include <hdf5.h>

#include <string>

#include "store_scratch.h"
#include "zq/zq.h"

namespace {

using zq_test::StoreTest;

class Records : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ASSERT_EQ(ZQcreate2dSpectrum("s", 0, 4, 0, 4, 0, ZQ_INT32), 0);
  }

  std::string read(int (*reader)(const char*, int, char*), int number) {
    char buffer[ZQ_RECORD_SIZE];
    std::fill(std::begin(buffer), std::end(buffer), 'z');
    status_ = reader("s", number, buffer);
    return status_ == 0 ? std::string(buffer) : std::string("<failed>");
  }

  int status_ = 0;
};

TEST_F(Records, AbsentRecordReadsEmpty) {
  EXPECT_EQ(read(ZQreadInformation, 16), "");
  EXPECT_EQ(read(ZQreadAnnotation, 2), "");
}

TEST_F(Records, EveryKindKeepsItsOwnRecords) {
  ASSERT_EQ(ZQwriteInformation("s", 3, "beam He+ 2000 keV"), 0);
  ASSERT_EQ(ZQwriteAnnotation("s", 1, "angle"), 0);
  ASSERT_EQ(ZQwriteCalibration("s", 1, "Angle deg 2 -12.5 0.147239"), 0);
  ASSERT_EQ(ZQwriteEfficiency("s", 2, "flat"), 0);
  EXPECT_EQ(read(ZQreadInformation, 3), "beam He+ 2000 keV");
  EXPECT_EQ(read(ZQreadAnnotation, 1), "angle");
  EXPECT_EQ(read(ZQreadCalibration, 1), "Angle deg 2 -12.5 0.147239");
  EXPECT_EQ(read(ZQreadEfficiency, 2), "flat");
  EXPECT_EQ(read(ZQreadCalibration, 2), "");
  EXPECT_EQ(read(ZQreadAnnotation, 2), "");
}

TEST_F(Records, WritingReplacesAndTheEmptyTextRemoves) {
  ASSERT_EQ(ZQwriteInformation("s", 1, "first"), 0);
  ASSERT_EQ(ZQwriteInformation("s", 1, "second"), 0);
  EXPECT_EQ(read(ZQreadInformation, 1), "second");
  ASSERT_EQ(ZQwriteInformation("s", 1, ""), 0);
  EXPECT_EQ(read(ZQreadInformation, 1), "");
  EXPECT_EQ(ZQwriteInformation("s", 1, ""), 0);
}

TEST_F(Records, TextsUpTo255CharactersFit) {
  const std::string full(255, 'r');
  ASSERT_EQ(ZQwriteInformation("s", 16, full.c_str()), 0);
  EXPECT_EQ(read(ZQreadInformation, 16), full);
  const std::string over(256, 'r');
  EXPECT_EQ(ZQwriteInformation("s", 16, over.c_str()), ZQ_ERECORDLONG);
  EXPECT_EQ(read(ZQreadInformation, 16), full);
}

TEST_F(Records, NumbersOutsideTheirRangeAreRefused) {
  EXPECT_EQ(ZQwriteInformation("s", 0, "x"), ZQ_EBADRECORD);
  EXPECT_EQ(ZQwriteInformation("s", 17, "x"), ZQ_EBADRECORD);
  EXPECT_EQ(ZQwriteCalibration("s", 3, "x"), ZQ_EBADRECORD);
  EXPECT_EQ(std::string(ZQerrorMessage(ZQerrno)),
            "calibration record 3 outside 1..2 for spectrum 's'");
  read(ZQreadEfficiency, 0);
  EXPECT_EQ(status_, ZQ_EBADRECORD);
  EXPECT_EQ(ZQwriteInformation("s", 1, nullptr), ZQ_EBADARG);
}

// A record set by another HDF5 tool as a variable-length string reads like any other.
TEST_F(Records, VariableLengthStringsWrittenElsewhereAreRead) {
  const std::string path = (dir_.path() / "s.h5").string();
  const hid_t file = H5Fopen(path.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  ASSERT_GE(file, 0);
  const hid_t type = H5Tcopy(H5T_C_S1);
  H5Tset_size(type, H5T_VARIABLE);
  const hid_t space = H5Screate(H5S_SCALAR);
  const hid_t attribute = H5Acreate2(file, "annotation_2", type, space, H5P_DEFAULT, H5P_DEFAULT);
  const char* text = "energy";
  EXPECT_GE(H5Awrite(attribute, type, &text), 0);
  H5Aclose(attribute);
  H5Sclose(space);
  H5Tclose(type);
  H5Fclose(file);
  EXPECT_EQ(read(ZQreadAnnotation, 2), "energy");
}

TEST_F(Records, SpectrumWithoutItsDescriptionIsDamaged) {
  const std::string path = (dir_.path() / "s.h5").string();
  const hid_t file = H5Fopen(path.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  ASSERT_GE(file, 0);
  H5Adelete(file, "bases");
  H5Fclose(file);
  read(ZQreadInformation, 1);
  EXPECT_EQ(status_, ZQ_EDAMAGED);
  EXPECT_NE(std::string(ZQerrorMessage(ZQerrno)).find("bad bases"), std::string::npos);
}

}  // namespace
