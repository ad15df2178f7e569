// C entry points for describing, creating, reading and writing spectra.
#include <algorithm>
#include <string>

#include "zq/blocks.h"
#include "zq/error_state.h"
#include "zq/spectrum_create.h"
#include "zq/spectrum_file.h"
#include "zq/zq.h"

namespace {

zq::Block block_1d(int first, int count) {
  return zq::Block{1, {first, 0}, {count, 0}};
}

zq::Block block_2d(int first1, int count1, int first2, int count2) {
  return zq::Block{2, {first1, first2}, {count1, count2}};
}

}  // namespace

extern "C" int ZQinquireSpectrum(const char* name, int* dim, int* bases, int* ranges, int* layout,
                                 int* type) {
  return zq::guarded([&] {
    if (!dim || !bases || !ranges || !layout || !type) {
      throw zq::Error(ZQ_EBADARG, "null description argument");
    }
    const zq::SpectrumFile file(zq::name_argument(name));
    const zq::Description& description = file.description();
    *dim = description.dim;
    std::copy(description.bases.begin(), description.bases.end(), bases);
    std::copy(description.ranges.begin(), description.ranges.end(), ranges);
    *layout = description.layout;
    *type = description.type;
  });
}

extern "C" int ZQcreate1dSpectrum(const char* name, int base, int range, int layout, int type) {
  return zq::guarded([&] {
    zq::Description description{1, {base}, {range}, layout, type};
    zq::create_spectrum(zq::name_argument(name), description);
  });
}

extern "C" int ZQcreate2dSpectrum(const char* name, int base1, int range1, int base2, int range2,
                                  int layout, int type) {
  return zq::guarded([&] {
    zq::Description description{2, {base1, base2}, {range1, range2}, layout, type};
    zq::create_spectrum(zq::name_argument(name), description);
  });
}

extern "C" int ZQread1dSpectrum(const char* name, int first, int count, void* buffer, int type) {
  return zq::guarded(
      [&] { zq::read_block(zq::name_argument(name), block_1d(first, count), buffer, type); });
}

extern "C" int ZQwrite1dSpectrum(const char* name, int first, int count, const void* buffer,
                                 int type) {
  return zq::guarded(
      [&] { zq::write_block(zq::name_argument(name), block_1d(first, count), buffer, type); });
}

extern "C" int ZQread2dSpectrum(const char* name, int first1, int count1, int first2, int count2,
                                void* buffer, int type) {
  return zq::guarded([&] {
    zq::read_block(zq::name_argument(name), block_2d(first1, count1, first2, count2), buffer, type);
  });
}

extern "C" int ZQwrite2dSpectrum(const char* name, int first1, int count1, int first2, int count2,
                                 const void* buffer, int type) {
  return zq::guarded([&] {
    zq::write_block(zq::name_argument(name), block_2d(first1, count1, first2, count2), buffer,
                    type);
  });
}
