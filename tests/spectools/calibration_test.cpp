// Calibration records: what parses, what is treated like an empty record, and the rewrite.
#include <gtest/gtest.h>

#include <string>

#include "spectools/frame/calibration.h"

namespace {

using spectools::Calibration;
using spectools::format_calibration;
using spectools::parse_calibration;

TEST(CalibrationRecord, FiveFieldsParse) {
  const auto parsed = parse_calibration("Angle deg 2 -12.5 0.147239");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->word1, "Angle");
  EXPECT_EQ(parsed->word2, "deg");
  EXPECT_EQ(parsed->number, 2);
  EXPECT_DOUBLE_EQ(parsed->offset, -12.5);
  EXPECT_DOUBLE_EQ(parsed->slope, 0.147239);
  // Blanks of any kind separate fields; text after the fifth field is ignored.
  EXPECT_TRUE(parse_calibration("  E\tkeV  1 100 2 trailing words"));
}

TEST(CalibrationRecord, IncompleteOrOversizedRecordsDoNotParse) {
  const std::string word19(19, 'w');
  const std::string word20(20, 'w');
  EXPECT_TRUE(parse_calibration(word19 + " " + word19 + " 2 0 1"));
  const std::string refused[] = {
      "",
      "Angle deg 2 -12.5",
      "Angle deg two 0 1",
      "Angle deg 2 zero 1",
      word20 + " deg 2 0 1",
      "Angle " + word20 + " 2 0 1",
      "Angle deg 99999999999 0 1",
      "Angle deg 2 nan 1",
      "Angle deg 2 0 1e999",
      std::string(300, 'x'),
  };
  for (const std::string& record : refused) {
    EXPECT_FALSE(parse_calibration(record)) << "'" << record << "'";
  }
}

TEST(CalibrationRecord, FormatsWithSixDecimals) {
  const Calibration energy{"Energy", "keV", 2, 1980.0, 0.336134};
  EXPECT_EQ(format_calibration(energy), "Energy keV 2 1980.000000 0.336134");
  const auto back = parse_calibration(format_calibration(energy));
  ASSERT_TRUE(back);
  EXPECT_DOUBLE_EQ(back->offset, 1980.0);
}

}  // namespace
