// Spectrum names: which are refused, how a refused one is shown, and which directory
// entries are spectra or hidden files of the store.
#include <gtest/gtest.h>

#include <unistd.h>

#include <optional>
#include <string>

#include "zq/hidden_files.h"
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

struct Shown {
  std::string text;
  std::string shown;
};

TEST(SpectrumNames, ControlCharactersAreShownEscaped) {
  const Shown cases[] = {
      {"plain name", "plain name"},
      {"line\nbreak", "line\\nbreak"},
      {"tab\tand\rreturn", "tab\\tand\\rreturn"},
      {"bell\x01\x1f", "bell\\x01\\x1f"},
      {std::string("nul\0", 4), "nul\\x00"},
      {"del\x7f", "del\\x7f"},
      {"caf\xc3\xa9", "caf\xc3\xa9"},  // bytes of UTF-8 letters pass unchanged
  };
  for (const Shown& c : cases) EXPECT_EQ(zq::escape_controls(c.text), c.shown);
  EXPECT_EQ(zq::name_fault("a\nb"), "spectrum name 'a\\nb' holds a control character");
}

struct HiddenCase {
  std::string file_name;
  std::optional<pid_t> owner;
};

TEST(HiddenFiles, OwnerIsReadFromTheNameOnlyWhenItIsAHiddenFile) {
  const HiddenCase cases[] = {
      {".scan.h5.123.part", 123},
      {".a.b.h5.7.part", 7},
      {".scan.h5.0.part", std::nullopt},
      {".scan.h5.-4.part", std::nullopt},
      {".scan.h5.12x.part", std::nullopt},
      {".scan.h5..part", std::nullopt},
      {".scan.h5.99999999999999999999.part", std::nullopt},
      {"..h5.5.part", std::nullopt},
      {"scan.h5.5.part", std::nullopt},
      {".scan.txt.5.part", std::nullopt},
      {".scan.h5.5", std::nullopt},
      {"scan.h5", std::nullopt},
  };
  for (const HiddenCase& c : cases) {
    EXPECT_EQ(zq::hidden_file_owner(c.file_name), c.owner) << c.file_name;
  }
  EXPECT_EQ(zq::hidden_file_owner(zq::hidden_path("/x/scan.h5").filename().string()), getpid());
}

}  // namespace
