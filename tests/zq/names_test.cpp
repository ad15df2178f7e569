// Spectrum names: which are refused, and which directory entries are spectra.
#include <gtest/gtest.h>

#include <string>

#include "zq/names.h"

namespace {

struct NameCase {
  std::string name;
  bool accepted;
};

TEST(SpectrumNames, AcceptsPlainFileNamesOnly) {
  const NameCase cases[] = {
      {"Au111_scan", true},
      {"run-7.raw", true},
      {"a b", true},
      {std::string(200, 'x'), true},
      {std::string(201, 'x'), false},
      {"", false},
      {".", false},
      {"..", false},
      {"..x", false},
      {"a..b", false},
      {".hidden", false},
      {"dir/name", false},
      {"../escape", false},
      {"back\\slash", false},
      {"tab\there", false},
      {"line\nbreak", false},
      {std::string("nul\0byte", 8), false},
      {"del\x7f", false},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(!zq::name_fault(c.name).has_value(), c.accepted) << "name '" << c.name << "'";
  }
}

TEST(SpectrumNames, DirectoryEntriesMapBackToTheirSpectra) {
  EXPECT_EQ(zq::spectrum_of_file(zq::spectrum_file_name("scan 4")), "scan 4");
  EXPECT_FALSE(zq::spectrum_of_file("notes.txt"));
  EXPECT_FALSE(zq::spectrum_of_file(".h5"));
  EXPECT_FALSE(zq::spectrum_of_file(".scan.h5.123.part"));
}

}  // namespace
