// Command-line numbers: the three conversions, and the usage failure for text that is not one.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "spectools/frame/numbers.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/frame/usage.h"

namespace {

using namespace spectools;

struct IntCase {
  std::string text;
  std::optional<int> decimal;  // "%d"
  std::optional<int> integer;  // "%i"
};

TEST(CommandLineNumbers, IntegersParseWholeOrNotAtAll) {
  const IntCase cases[] = {
      {"42", 42, 42},
      {"-7", -7, -7},
      {"+3", 3, 3},
      {" 12 ", 12, 12},
      {"0x4", std::nullopt, 4},
      {"0X1f", std::nullopt, 31},
      {"010", 10, 8},
      {"08", 8, std::nullopt},  // not an octal number
      {"0", 0, 0},
      {"2147483647", 2147483647, 2147483647},
      {"2147483648", std::nullopt, std::nullopt},
      {"-2147483649", std::nullopt, std::nullopt},
      {"99999999999999999999", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"three", std::nullopt, std::nullopt},
      {"12abc", std::nullopt, std::nullopt},
      {"1.5", std::nullopt, std::nullopt},
      {"0x", std::nullopt, std::nullopt},
  };
  for (const IntCase& c : cases) {
    EXPECT_EQ(scan_decimal(c.text), c.decimal) << "'" << c.text << "'";
    EXPECT_EQ(scan_integer(c.text), c.integer) << "'" << c.text << "'";
  }
}

TEST(CommandLineNumbers, RealsMustBeFinite) {
  const std::pair<std::string, std::optional<double>> cases[] = {
      {"2000", 2000.0},        {"4.0026", 4.0026},    {"-1.5e2", -150.0},    {".5", 0.5},
      {"1e400", std::nullopt}, {"nan", std::nullopt}, {"inf", std::nullopt}, {"", std::nullopt},
      {"12keV", std::nullopt}, {"1,5", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(scan_real(text), expected) << text;
}

TEST(CommandLineNumbers, ArgumentThatDoesNotParseEndsWithTheUsageText) {
  const ToolUsage& binshrink = usage_of("binshrink");
  EXPECT_EQ(integer_argument("0x4", binshrink), 4);
  try {
    integer_argument("four", binshrink);
    FAIL() << "no exit";
  } catch (const ToolExit& exit) {
    EXPECT_EQ(exit.status(), 1);
    EXPECT_EQ(exit.output(), "Usage: binshrink from_spec to_spec factor\n");
  }
  EXPECT_THROW(decimal_argument("", usage_of("regioncopy")), ToolExit);
  EXPECT_THROW(real_argument("fast", usage_of("kinecorr")), ToolExit);
  EXPECT_DOUBLE_EQ(real_argument("1.5", usage_of("kinecorr")), 1.5);
}

}  // namespace
