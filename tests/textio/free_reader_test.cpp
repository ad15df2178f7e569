// Free-form reading: the reference cases resolved by a Fortran compiler's list-directed READ,
// then the messages, limits and choices of this reader beyond them.
#include "textio/free_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "reader_reference.h"
#include "textio/errors.h"
#include "textio/record_input.h"

namespace {

using textio::FreeReader;
using textio::ReadError;
using textio_test::ReferenceCase;

// Performs the case's operations; items start at the sentinels of the reference program.
std::vector<std::string> run_free(const ReferenceCase& c) {
  std::istringstream in(c.input);
  FreeReader reader(in, "case.in");
  std::vector<std::string> tokens;
  for (const std::string& op : textio_test::shape_operations(c.shape)) {
    if (op == "L") {
      tokens.push_back(textio_test::text_token(reader.read_line(20, "line")));
      continue;
    }
    reader.begin();
    for (const char letter : op) {
      if (letter == 'i') {
        std::int32_t value = -99;
        reader.read(value, "item");
        tokens.push_back(textio_test::integer_token(value));
      } else if (letter == 'r') {
        float value = -99.0f;
        reader.read(value, "item");
        tokens.push_back(textio_test::real_token(value));
      } else {
        const std::size_t width = letter == 'k' ? 5 : 20;
        std::string value = "unset";
        value.resize(width, ' ');
        reader.read(value, width, "item");
        tokens.push_back(textio_test::text_token(value));
      }
    }
  }
  return tokens;
}

class FreeReference : public testing::TestWithParam<ReferenceCase> {};

TEST_P(FreeReference, MatchesListDirectedRead) {
  const ReferenceCase& c = GetParam();
  if (c.ok) {
    EXPECT_EQ(run_free(c), c.items);
    return;
  }
  try {
    run_free(c);
    ADD_FAILURE() << "expected a ReadError on line " << c.error_line;
  } catch (const ReadError& e) {
    EXPECT_EQ(e.line(), c.error_line) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Fortran, FreeReference,
                         testing::ValuesIn(textio_test::load_reference_cases(false)),
                         [](const auto& info) { return info.param.name; });

// The message of the ReadError that reading one integer, real or text from `text` raises.
std::string error_of(const std::string& text, char type, const std::string& item) {
  std::istringstream in(text);
  FreeReader reader(in, "run.in");
  reader.begin();
  try {
    std::int32_t i = 0;
    float r = 0.0f;
    std::string s;
    for (int n = 0; n < 3; ++n) {
      if (type == 'i') reader.read(i, item);
      if (type == 'r') reader.read(r, item);
      if (type == 'c') reader.read(s, 20, item);
    }
  } catch (const ReadError& e) {
    EXPECT_EQ(e.item(), item);
    EXPECT_EQ(e.source(), "run.in");
    return e.what();
  }
  return "no error";
}

TEST(FreeReaderErrors, MessagesNameSourceLineValueAndItem) {
  struct Case {
    std::string text;
    char type;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"1\n\n 2 abc\n", 'i', "run.in, line 3: cannot read 'abc' as an integer for cell_count_x"},
      {"1 2 2.5\n", 'i', "run.in, line 1: cannot read '2.5' as an integer for cell_count_x"},
      {"1 -2147483649\n", 'i',
       "run.in, line 1: cannot read '-2147483649' as an integer for cell_count_x (out of range)"},
      {"1 '7'\n", 'i',
       "run.in, line 1: cannot read quoted text '7' as an integer for cell_count_x"},
      {"1 2 1.2.3\n", 'r', "run.in, line 1: cannot read '1.2.3' as a real for cell_count_x"},
      {"1e50\n", 'r',
       "run.in, line 1: cannot read '1e50' as a real for cell_count_x (out of range)"},
      {"inf\n", 'r', "run.in, line 1: cannot read 'inf' as a real for cell_count_x"},
      {"nan\n", 'r', "run.in, line 1: cannot read 'nan' as a real for cell_count_x"},
      {"1 2\n", 'i', "run.in, line 1: file ends before cell_count_x was read"},
      {"1\n2\n\n", 'r', "run.in, line 3: file ends before cell_count_x was read"},
      {"", 'i', "run.in, line 1: file ends before cell_count_x was read"},
      {"0*5\n", 'i', "run.in, line 1: bad repeat count in '0*' for cell_count_x"},
      {"3000000000*5\n", 'i', "run.in, line 1: bad repeat count in '3000000000*' for cell_count_x"},
      {"'ab'cd\n", 'c',
       "run.in, line 1: unexpected text after the quoted text 'ab' for cell_count_x"},
      {"'ab\ncd\n", 'c', "run.in, line 2: file ends before cell_count_x was read"},
      {std::string(100, '7') + "\n", 'i',
       "run.in, line 1: cannot read '" + std::string(40, '7') +
           "...' as an integer for cell_count_x (out of range)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(error_of(c.text, c.type, "cell_count_x"), c.message) << c.text;
  }
}

TEST(FreeReaderErrors, EndOfFileNamesTheCallersItem) {
  std::istringstream in("1 2 3 0.1 0.2 0.3 0.0 0.0 7\n");
  FreeReader reader(in, "run.in");
  reader.begin();
  float x = 0.0f;
  std::int32_t type = 0;
  for (int k = 0; k < 9; ++k) reader.read(x, "atom values");
  EXPECT_THROW(
      {
        try {
          reader.read(type, "atom_type of atom 3");
        } catch (const ReadError& e) {
          EXPECT_STREQ(e.what(), "run.in, line 1: file ends before atom_type of atom 3 was read");
          throw;
        }
      },
      ReadError);
}

// Exponents far beyond the float range, which the reference cases do not reach.
TEST(FreeReader, ReadsRealsWithExtremeExponents) {
  struct Case {
    const char* text;
    float value;
  };
  const Case cases[] = {
      {"-1e-99999999999999999999", -0.0f},
      {"0e99999999999999999999", 0.0f},
      {"0.000001e-40", 0.0f},
      {"340282346638528859811704183484516925440.1e-38", 3.4028235f},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    FreeReader reader(in, "run.in");
    float value = -1.0f;
    reader.read(value, "x");
    EXPECT_EQ(textio_test::real_token(value), textio_test::real_token(c.value)) << c.text;
  }
  EXPECT_NE(error_of("1e99999999999999999999", 'r', "x").find("(out of range)"), std::string::npos);
}

TEST(FreeReader, RepeatedIntegerFillsIntegerAndRealItems) {
  std::istringstream in("2*3\n");
  FreeReader reader(in, "run.in");
  reader.begin();
  std::int32_t i = 0;
  float r = 0.0f;
  reader.read(i, "type_z");
  reader.read(r, "type_mass");
  EXPECT_EQ(i, 3);
  EXPECT_EQ(r, 3.0f);
}

TEST(FreeReader, ReadsWithoutBeginAndTracksValueLines) {
  std::istringstream in("5\n\n6 7\n8\n");
  FreeReader reader(in, "run.in");
  std::int32_t v = 0;
  reader.read(v, "a");
  EXPECT_EQ(reader.line_number(), 1);
  reader.read(v, "b");
  EXPECT_EQ(v, 6);
  EXPECT_EQ(reader.line_number(), 3);
  reader.begin();
  reader.read(v, "c");
  EXPECT_EQ(v, 8);
  EXPECT_EQ(reader.line_number(), 4);
}

TEST(FreeReader, EmptyOperationsTakeOneLineEachAndMayEndTheFile) {
  std::istringstream in("1\n\n\n2\n");
  FreeReader reader(in, "run.in");
  std::int32_t v = 0;
  reader.begin();
  reader.read(v, "a");
  reader.begin();  // no items, as for structure models without displaced atoms
  reader.begin();
  reader.begin();
  reader.read(v, "b");
  EXPECT_EQ(v, 2);
  reader.begin();
  reader.begin();
  EXPECT_NO_THROW(reader.begin());
}

TEST(FreeReader, ReadLinePadsAndCutsAndFailsAtEnd) {
  std::istringstream in("  comment\n" + std::string(100, 'x') + "\r\n");
  FreeReader reader(in, "run.in");
  EXPECT_EQ(reader.read_line(80, "comment"), "  comment" + std::string(71, ' '));
  EXPECT_EQ(reader.read_line(80, "input_path"), std::string(80, 'x'));
  EXPECT_THROW(reader.read_line(80, "output_root"), ReadError);
}

TEST(FreeReader, TextItemsKeepTheirWidth) {
  std::istringstream in("a abcdef , 'x y' \"\" 3*q\n");
  FreeReader reader(in, "run.in");
  reader.begin();
  std::string s;
  reader.read(s, 3, "name");
  EXPECT_EQ(s, "a  ");
  reader.read(s, 3, "name");
  EXPECT_EQ(s, "abc");
  reader.read(s, 4, "name");
  EXPECT_EQ(s, "x y ");
  reader.read(s, 2, "name");
  EXPECT_EQ(s, "  ");
  reader.read(s, 0, "name");
  EXPECT_EQ(s, "");
  reader.read(s, 1, "name");
  EXPECT_EQ(s, "q");
}

// A line of exactly the cap and many lines: every value arrives, and the line count stays right.
TEST(FreeReader, LongLinesAndManyLines) {
  constexpr int kWide = static_cast<int>(textio::kMaxLineLength / 2);
  constexpr int kTall = 300000;
  std::string one_line;
  for (int k = 0; k < kWide; ++k) one_line += k % 2 == 0 ? "1 " : "2,";
  std::string many_lines;
  for (int k = 0; k < kTall; ++k) many_lines += std::to_string(k) + "\n";
  std::istringstream wide(one_line + "\n");
  FreeReader wide_reader(wide, "wide.in");
  wide_reader.begin();
  std::int64_t sum = 0;
  for (int k = 0; k < kWide; ++k) {
    std::int32_t v = 0;
    wide_reader.read(v, "edge");
    sum += v;
  }
  std::istringstream tall(many_lines);
  FreeReader tall_reader(tall, "tall.in");
  std::int32_t last = 0;
  for (int k = 0; k < kTall; ++k) {
    tall_reader.begin();
    tall_reader.read(last, "value");
  }
  EXPECT_EQ(sum, 3 * (kWide / 2));
  EXPECT_EQ(last, kTall - 1);
  EXPECT_EQ(tall_reader.line_number(), kTall);
}

// A line beyond the cap, such as a device without line ends gives, is refused at once with the
// file and line, whether it holds values, a whole-line item or the skipped end of a record.
TEST(FreeReaderErrors, LineBeyondTheCapIsRefused) {
  const std::string endless(textio::kMaxLineLength + 1, '\0');
  const std::string message =
      "zero.in, line 2: line longer than 1048576 characters; is this a text file?";
  struct Case {
    std::string text;
    int step;  // 0: values, 1: whole line, 2: an empty operation
  };
  for (const Case& c :
       {Case{"1\n" + endless, 0}, Case{"1\n" + endless, 1}, Case{"1\n" + endless + "\n", 2}}) {
    std::istringstream in(c.text);
    FreeReader reader(in, "zero.in");
    std::int32_t v = 0;
    reader.begin();
    reader.read(v, "first");
    try {
      if (c.step == 0) reader.read(v, "second");
      if (c.step == 1) reader.read_line(80, "comment");
      if (c.step == 2) {
        reader.begin();
        reader.begin();
      }
      ADD_FAILURE() << "no error for step " << c.step;
    } catch (const textio::LineTooLong& e) {
      EXPECT_EQ(e.what(), message);
      EXPECT_EQ(e.line(), 2);
    }
  }
}

}  // namespace
