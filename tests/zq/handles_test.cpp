// Every store call, whether it succeeds or fails, closes every HDF5 object it opened: a file
// left open would stay locked and keep its caches, and the leak would grow with each call.
#include <gtest/gtest.h>
#include <hdf5.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "store_scratch.h"
#include "zq/zq.h"

namespace {

using zq_test::StoreTest;

ssize_t open_objects() {
  return H5Fget_obj_count(H5F_OBJ_ALL, H5F_OBJ_ALL);
}

struct Call {
  const char* what;
  std::function<int()> run;
  int expected;
};

class OpenObjects : public StoreTest {
 protected:
  // Files that open as HDF5 but fail later, each at another step of reading a spectrum.
  void make_damaged_files() {
    const hid_t plain = create("plain");  // no counts at all
    H5Fclose(plain);

    const hid_t group = create("group");  // "counts" is a group, not a dataset
    H5Gclose(H5Gcreate2(group, "counts", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
    H5Fclose(group);

    const hid_t wide = create("wide");  // counts of a type without a type code
    const hsize_t extent = 4;
    const hid_t space = H5Screate_simple(1, &extent, nullptr);
    H5Dclose(
        H5Dcreate2(wide, "counts", H5T_STD_I64LE, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
    H5Sclose(space);
    H5Fclose(wide);

    // A record that is a number, not a text.
    ASSERT_EQ(ZQcreate1dSpectrum("numeric", 0, 4, 0, ZQ_INT32), 0);
    const hid_t numeric = open("numeric");
    const hid_t scalar = H5Screate(H5S_SCALAR);
    H5Aclose(H5Acreate2(numeric, "information_2", H5T_STD_I32LE, scalar, H5P_DEFAULT, H5P_DEFAULT));
    H5Sclose(scalar);
    H5Fclose(numeric);

    // HDF5 reads this one but cannot write it back (see changes_test.cpp).
    ASSERT_EQ(ZQcreate1dSpectrum("super", 0, 4, 0, ZQ_INT32), 0);
    std::fstream super(dir_.path() / "super.h5", std::ios::in | std::ios::out | std::ios::binary);
    super.seekp(55);
    super.put('\0');
    super.close();

    // An address in the root group's entry past the end of the file: H5Fopen fails, and
    // HDF5 keeps a block it allocated (suppressed for LeakSanitizer, lsan-hdf5.supp).
    ASSERT_EQ(ZQcreate1dSpectrum("astray", 0, 4, 0, ZQ_INT32), 0);
    std::fstream astray(dir_.path() / "astray.h5", std::ios::in | std::ios::out | std::ios::binary);
    astray.seekp(124);
    astray.put('\xff');
    astray.close();

    ASSERT_EQ(ZQcreate1dSpectrum("cut", 0, 1000, 0, ZQ_INT32), 0);
    std::filesystem::resize_file(dir_.path() / "cut.h5", 1500);
    dir_.write("text.h5", "counts 1 2 3\n");
    std::filesystem::create_directory(dir_.path() / "taken.h5");
  }

  hid_t create(const std::string& name) const {
    const std::string path = (dir_.path() / (name + ".h5")).string();
    return H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
  }
  hid_t open(const std::string& name) const {
    const std::string path = (dir_.path() / (name + ".h5")).string();
    return H5Fopen(path.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  }
};

TEST_F(OpenObjects, EveryCallClosesWhatItOpenedOnSuccessAndOnFailure) {
  ASSERT_EQ(ZQcreate2dSpectrum("grid", 0, 40, 0, 1000, 0, ZQ_INT16), 0);
  ASSERT_EQ(ZQcreate1dSpectrum("line", 0, 8, 0, ZQ_INT32), 0);
  make_damaged_files();
  std::vector<std::int32_t> block(40 * 1000, 1);
  block.back() = 200;  // fits the stored int16, not int8
  std::vector<std::int32_t> misfit(40 * 1000, 1);
  misfit.back() = 1 << 20;
  char record[ZQ_RECORD_SIZE];
  const std::string too_long(300, 'x');
  int dim, bases[ZQ_MAX_DIM], ranges[ZQ_MAX_DIM], layout, type;
  const std::string here = dir_.str();

  const Call calls[] = {
      {"set path", [&] { return ZQsetExperimentPath(here.c_str()); }, 0},
      {"connect", [&] { return ZQconnectExperiment("capabilities"); }, 0},
      {"connect refused", [&] { return ZQconnectExperiment("everything"); }, ZQ_EBADARG},
      {"connect", [&] { return ZQconnectExperiment("capabilities"); }, 0},
      {"inquire", [&] { return ZQinquireSpectrum("grid", &dim, bases, ranges, &layout, &type); },
       0},
      {"inquire missing",
       [&] { return ZQinquireSpectrum("ghost", &dim, bases, ranges, &layout, &type); },
       ZQ_ENOSPECTRUM},
      {"inquire text",
       [&] { return ZQinquireSpectrum("text", &dim, bases, ranges, &layout, &type); }, ZQ_EDAMAGED},
      {"inquire truncated",
       [&] { return ZQinquireSpectrum("cut", &dim, bases, ranges, &layout, &type); }, ZQ_EHDF5},
      {"inquire astray address",
       [&] { return ZQinquireSpectrum("astray", &dim, bases, ranges, &layout, &type); }, ZQ_EHDF5},
      {"inquire no counts",
       [&] { return ZQinquireSpectrum("plain", &dim, bases, ranges, &layout, &type); },
       ZQ_EDAMAGED},
      {"inquire group counts",
       [&] { return ZQinquireSpectrum("group", &dim, bases, ranges, &layout, &type); }, ZQ_EHDF5},
      {"inquire wide counts",
       [&] { return ZQinquireSpectrum("wide", &dim, bases, ranges, &layout, &type); }, ZQ_EDAMAGED},
      {"create 1-D", [&] { return ZQcreate1dSpectrum("made", 0, 5, 0, ZQ_UINT8); }, 0},
      {"create 2-D", [&] { return ZQcreate2dSpectrum("made", 0, 5, 0, 5, 0, ZQ_FLOAT32); }, 0},
      {"create bad shape", [&] { return ZQcreate1dSpectrum("made", 0, 0, 0, ZQ_INT32); },
       ZQ_EBADSHAPE},
      {"create over a directory", [&] { return ZQcreate1dSpectrum("taken", 0, 5, 0, ZQ_INT32); },
       ZQ_ESYSTEM},
      {"write 2-D tiled",
       [&] { return ZQwrite2dSpectrum("grid", 0, 40, 0, 1000, block.data(), ZQ_INT32); }, 0},
      {"read 2-D tiled",
       [&] { return ZQread2dSpectrum("grid", 0, 40, 0, 1000, block.data(), ZQ_INT32); }, 0},
      {"write 2-D misfit",
       [&] { return ZQwrite2dSpectrum("grid", 0, 40, 0, 1000, misfit.data(), ZQ_INT32); },
       ZQ_ECONVERT},
      {"read 2-D misfit",
       [&] { return ZQread2dSpectrum("grid", 0, 40, 0, 1000, block.data(), ZQ_INT8); },
       ZQ_ECONVERT},
      {"read 2-D outside", [&] { return ZQread2dSpectrum("grid", 0, 41, 0, 1, block.data(), 4); },
       ZQ_EEXTENT},
      {"write 1-D", [&] { return ZQwrite1dSpectrum("line", 0, 8, block.data(), ZQ_INT32); }, 0},
      {"read 1-D", [&] { return ZQread1dSpectrum("line", 0, 8, block.data(), ZQ_INT32); }, 0},
      {"read 1-D of a 2-D", [&] { return ZQread1dSpectrum("grid", 0, 8, block.data(), 4); },
       ZQ_EBADSHAPE},
      {"read bad type", [&] { return ZQread1dSpectrum("line", 0, 8, block.data(), 9); },
       ZQ_EBADTYPE},
      {"read bad name", [&] { return ZQread1dSpectrum("../line", 0, 8, block.data(), 4); },
       ZQ_EBADNAME},
      {"write information", [&] { return ZQwriteInformation("line", 3, "run 7"); }, 0},
      {"read information", [&] { return ZQreadInformation("line", 3, record); }, 0},
      {"remove information", [&] { return ZQwriteInformation("line", 3, ""); }, 0},
      {"write annotation", [&] { return ZQwriteAnnotation("line", 1, "angle"); }, 0},
      {"read annotation", [&] { return ZQreadAnnotation("line", 1, record); }, 0},
      {"write calibration", [&] { return ZQwriteCalibration("line", 1, "E keV 2 1 0.5"); }, 0},
      {"read calibration", [&] { return ZQreadCalibration("line", 1, record); }, 0},
      {"write efficiency", [&] { return ZQwriteEfficiency("line", 1, "flat"); }, 0},
      {"read efficiency", [&] { return ZQreadEfficiency("line", 1, record); }, 0},
      {"record number refused", [&] { return ZQreadAnnotation("line", 2, record); }, ZQ_EBADRECORD},
      {"record too long", [&] { return ZQwriteInformation("line", 1, too_long.c_str()); },
       ZQ_ERECORDLONG},
      {"record not a text", [&] { return ZQreadInformation("numeric", 2, record); }, ZQ_EDAMAGED},
      {"record of a damaged file", [&] { return ZQwriteInformation("plain", 1, "x"); },
       ZQ_EDAMAGED},
      {"record of a damaged superblock", [&] { return ZQwriteInformation("super", 1, "x"); }, 0},
      {"block of a damaged superblock",
       [&] { return ZQwrite1dSpectrum("super", 0, 4, block.data(), ZQ_INT32); }, 0},
      {"record of a truncated file", [&] { return ZQwriteInformation("cut", 1, "x"); }, ZQ_EHDF5},
      {"copy of a non-text record", [&] { return ZQwriteInformation("numeric", 1, "x"); },
       ZQ_EDAMAGED},
  };
  const ssize_t start = open_objects();
  ASSERT_GE(start, 0);
  for (const Call& call : calls) {
    EXPECT_EQ(call.run(), call.expected) << call.what << ": " << ZQerrorMessage(ZQerrno);
    EXPECT_EQ(open_objects(), start) << call.what;
  }
}

}  // namespace
