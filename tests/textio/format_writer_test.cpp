// Formatted writing: the reference output of a Fortran runtime for every descriptor and
// layout, plus the faults a calling program can make.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textio/errors.h"
#include "textio/format_writer.h"
#include "writer_reference.h"

namespace {

using textio::Format;
using textio::FormatError;
using textio::Value;

TEST(FormatWriter, MatchesReferenceOutput) {
  const auto cases = textio_test::load_writer_cases("format_expected.txt");
  ASSERT_GE(cases.size(), 90u);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + " " + c.format);
    EXPECT_EQ(Format(c.format).write(textio_test::as_values(c.items)), c.output);
  }
}

TEST(FormatWriter, FloatAndDoubleOfTheSameValueWriteAlike) {
  const Format format("(F9.4,E12.4,D12.4)");
  for (const float x : {0.1f, -2.675f, 1.0e-7f, 12345.678f}) {
    EXPECT_EQ(format.write({x, x, x}), format.write({double{x}, double{x}, double{x}})) << x;
  }
}

TEST(FormatWriter, ParsedFormatIsReusedAndMoved) {
  Format format("(I3,'|')");
  EXPECT_EQ(format.write({1}), "  1|\n");
  EXPECT_EQ(format.write({22}), " 22|\n");
  EXPECT_EQ(format.write(), "\n");
  Format moved = std::move(format);
  EXPECT_EQ(moved.write({333}), "333|\n");
  EXPECT_THROW((void)format.write({1}), FormatError);  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(textio::format_record("('x',I2)", {7}), "x 7\n");
}

TEST(FormatWriter, MalformedFormatTextsThrow) {
  const char* const bad[] = {
      "",           "I3",       "(I3",      "((I3)",    "(Q3)",    "(I)",     "(I0)",
      "(F7)",       "(F7.)",    "(F0.2)",   "(E8.0)",   "(D9)",    "(I2.3)",  "(,I3)",
      "(I3,)",      "(I3,,I4)", "(I3 I4)",  "('abc)",   "(0(I3))", "(3'ab')", "(A0)",
      "(I9999999)", "(2)",      "(F7.2E2)", "(1X 'a')",
  };
  for (const char* text : bad) {
    EXPECT_THROW(Format{text}, FormatError) << text;
  }
}

TEST(FormatWriter, ValueOfTheWrongTypeThrows) {
  const std::vector<std::pair<const char*, Value>> bad = {
      {"(I3)", 1.5f},
      {"(I3)", 2.0},
      {"(I3)", std::string_view("x")},
      {"(F7.2)", 3},
      {"(E9.3)", std::string_view("x")},
      {"(D10.3)", 4},
      {"(A)", 5},
      {"(A4)", 6.0f},
  };
  for (const auto& [text, value] : bad) {
    EXPECT_THROW((void)Format(text).write({value}), FormatError) << text;
  }
}

TEST(FormatWriter, ValuesBeyondAFormatWithoutDataDescriptorsThrow) {
  EXPECT_THROW((void)Format("('abc')").write({1}), FormatError);
  EXPECT_THROW((void)Format("(I3,2('-'))").write({1, 2}), FormatError);
  EXPECT_EQ(Format("(I3,2('-'))").write({1}), "  1--\n");
}

// Reversion over many lines must stay linear in the number of values; lines after the first
// start at the repeat group, without the 23 leading blanks.
TEST(FormatWriter, ManyValuesByReversion) {
  const Format format("(23X,20(F7.3,3X))");
  const std::vector<Value> values(200'000, Value{0.5f});
  std::string line = "  0.500";
  for (int i = 1; i < 20; ++i) line += "     0.500";
  line += '\n';
  std::string expected = std::string(23, ' ');
  for (int i = 0; i < 10'000; ++i) expected += line;
  const std::string out = format.write(values);
  EXPECT_EQ(out.size(), expected.size());
  EXPECT_TRUE(out == expected);
}

}  // namespace
