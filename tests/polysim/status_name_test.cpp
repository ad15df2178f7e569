// Status file names built from the output root, and the date stamp.
#include <gtest/gtest.h>

#include "polysim/status_file.h"
#include "textio/fixed_text.h"

namespace {

struct NameCase {
  const char* root;
  const char* status;
  int column;
};

TEST(StatusName, CutAtFirstBlankOrDotAfterAnyBracket) {
  const NameCase cases[] = {
      {"run7", "run7.status", 5},
      {"run7.old", "run7.status", 5},
      {"[data.x]run7.old", "[data.x]run7.status", 13},
      {"]run7.old", "]run7.status", 6},  // a bracket in column 1 is not a directory
      {".hidden", ".status", 1},
      {"./runs/a", ".status", 1},  // the first dot belongs to the directory
      {"out put", "out.status", 4},
      {"", ".status", 1},
  };
  for (const NameCase& c : cases) {
    const polysim::StatusName name = polysim::build_status_path(c.root);
    EXPECT_EQ(name.path.size(), 80u) << c.root;
    EXPECT_EQ(textio::trim_trailing(name.path), c.status) << c.root;
    EXPECT_EQ(name.name_column, c.column) << c.root;
  }
}

TEST(StatusName, ScanStopsAtColumn51AndKeepsColumnsAfter57) {
  const std::string root = std::string(60, 'a') + "tail";
  const polysim::StatusName name = polysim::build_status_path(root);
  EXPECT_EQ(name.name_column, 51);
  EXPECT_EQ(name.path.substr(0, 50), std::string(50, 'a'));
  EXPECT_EQ(name.path.substr(50, 7), ".status");
  EXPECT_EQ(textio::trim_trailing(name.path.substr(57)), std::string(3, 'a') + "tail");
}

TEST(StatusName, ShortRootIsPaddedUpToColumn57ThenKeepsRoot) {
  const std::string root = "ab" + std::string(58, ' ') + "zz";  // text beyond column 57
  const polysim::StatusName name = polysim::build_status_path(root);
  EXPECT_EQ(name.path.substr(0, 9), "ab.status");
  EXPECT_EQ(name.path.substr(9, 48), std::string(48, ' '));
  EXPECT_EQ(textio::trim_trailing(name.path), "ab.status" + std::string(51, ' ') + "zz");
}

// A bracket near the end of the name leaves fewer columns up to 57 than ".status" needs:
// the suffix is cut there, and a bracket beyond column 57 leaves the root as it stands.
TEST(StatusName, BracketNearColumn57CutsOrDropsTheSuffix) {
  const std::string late = std::string(54, 'a') + "]x.y";  // bracket in column 55
  const polysim::StatusName cut = polysim::build_status_path(late);
  EXPECT_EQ(cut.name_column, 55);
  EXPECT_EQ(textio::trim_trailing(cut.path), std::string(54, 'a') + ".sty");  // column 58 kept
  const std::string beyond = std::string(60, 'a') + "]x.y";  // bracket in column 61
  const polysim::StatusName kept = polysim::build_status_path(beyond);
  EXPECT_EQ(kept.name_column, 61);
  EXPECT_EQ(textio::trim_trailing(kept.path), beyond);
}

TEST(DateStamp, TwentyFourCharactersOfEnglishLocalTime) {
  std::tm t{};
  t.tm_wday = 1;
  t.tm_mon = 11;
  t.tm_mday = 7;
  t.tm_hour = 3;
  t.tm_min = 6;
  t.tm_sec = 5;
  t.tm_year = 126;
  EXPECT_EQ(polysim::date_stamp(t), "Mon Dec  7 03:06:05 2026");
  t.tm_wday = 0;
  t.tm_mon = 0;
  t.tm_mday = 31;
  t.tm_hour = 23;
  EXPECT_EQ(polysim::date_stamp(t), "Sun Jan 31 23:06:05 2026");
  EXPECT_EQ(polysim::date_stamp().size(), 24u);
}

}  // namespace
