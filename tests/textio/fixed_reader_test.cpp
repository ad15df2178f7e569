// Fixed-column reading: the reference cases resolved by a Fortran compiler's formatted READ,
// then messages and format faults.
#include "textio/fixed_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "reader_reference.h"
#include "textio/errors.h"
#include "textio/record_input.h"

namespace {

using textio::FixedReader;
using textio::FormatError;
using textio::ReadError;
using textio::Target;
using textio_test::ReferenceCase;

// Performs the case's operations, each under the case's format, into sentinel-filled items.
std::vector<std::string> run_fixed(const ReferenceCase& c) {
  std::istringstream in(c.input);
  FixedReader reader(in, "case.dat");
  std::vector<std::string> tokens;
  for (const std::string& op : textio_test::shape_operations(c.shape)) {
    std::vector<std::int32_t> ints(op.size(), -99);
    std::vector<float> reals(op.size(), -99.0f);
    std::vector<std::string> texts(op.size());
    std::vector<Target> targets;
    for (std::size_t k = 0; k < op.size(); ++k) {
      if (op[k] == 'i') {
        targets.emplace_back(&ints[k]);
      } else if (op[k] == 'r') {
        targets.emplace_back(&reals[k]);
      } else {
        texts[k] = "unset";
        texts[k].resize(op[k] == 'k' ? 5 : 20, ' ');
        targets.emplace_back(&texts[k]);
      }
    }
    reader.read(c.format, targets, "item");
    for (std::size_t k = 0; k < op.size(); ++k) {
      tokens.push_back(op[k] == 'i'   ? textio_test::integer_token(ints[k])
                       : op[k] == 'r' ? textio_test::real_token(reals[k])
                                      : textio_test::text_token(texts[k]));
    }
  }
  return tokens;
}

class FixedReference : public testing::TestWithParam<ReferenceCase> {};

TEST_P(FixedReference, MatchesFormattedRead) {
  const ReferenceCase& c = GetParam();
  if (c.ok) {
    EXPECT_EQ(run_fixed(c), c.items);
    return;
  }
  try {
    run_fixed(c);
    ADD_FAILURE() << "expected a ReadError on line " << c.error_line;
  } catch (const ReadError& e) {
    EXPECT_EQ(e.line(), c.error_line) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Fortran, FixedReference,
                         testing::ValuesIn(textio_test::load_reference_cases(true)),
                         [](const auto& info) { return info.param.name; });

std::string read_error(const std::string& text, std::string_view format, Target target) {
  std::istringstream in(text);
  FixedReader reader(in, "bfgsin.dat");
  try {
    reader.read(format, {target}, "NSETS");
    reader.read(format, {target}, "NSETS");
  } catch (const ReadError& e) {
    EXPECT_EQ(e.item(), "NSETS");
    return e.what();
  }
  return "no error";
}

TEST(FixedReaderErrors, MessagesNameLineColumnsAndItem) {
  std::int32_t i = 0;
  float r = 0.0f;
  EXPECT_EQ(read_error("  1\n 1a\n", "(1X,I3)", &i),
            "bfgsin.dat, line 2: cannot read '1a ' (columns 2-4) as an integer for NSETS");
  EXPECT_EQ(read_error(" 1.5\n", "(1X,I3)", &i),
            "bfgsin.dat, line 1: cannot read '1.5' (columns 2-4) as an integer for NSETS");
  EXPECT_EQ(read_error("21474836480\n", "(I11)", &i),
            "bfgsin.dat, line 1: cannot read '21474836480' (columns 1-11) as an integer for "
            "NSETS (out of range)");
  EXPECT_EQ(read_error("   abc\n", "(1X,F6.2)", &r),
            "bfgsin.dat, line 1: cannot read '  abc ' (columns 2-7) as a real for NSETS");
  EXPECT_EQ(read_error(" 1E99\n", "(1X,F6.2)", &r),
            "bfgsin.dat, line 1: cannot read '1E99  ' (columns 2-7) as a real for NSETS "
            "(out of range)");
  EXPECT_EQ(read_error(" 1.5E\n", "(1X,F6.2)", &r),
            "bfgsin.dat, line 1: cannot read '1.5E  ' (columns 2-7) as a real for NSETS");
  EXPECT_EQ(read_error("   1.5E+,\n", "(1X,F8.2)", &r),
            "bfgsin.dat, line 1: cannot read '  1.5E+' (columns 2-8) as a real for NSETS");
  EXPECT_EQ(read_error("  1\n" + std::string(textio::kMaxLineLength + 1, 'x'), "(1X,I3)", &i),
            "bfgsin.dat, line 2: line longer than 1048576 characters; is this a text file?");
  EXPECT_EQ(read_error("  1\n", "(1X,I3)", &i),
            "bfgsin.dat, line 1: file ends before NSETS was read");
  EXPECT_EQ(read_error("", "(1X,I3)", &i), "bfgsin.dat, line 1: file ends before NSETS was read");
}

TEST(FixedReader, ReadsTypicalSetUpRecords) {
  std::istringstream in(
      "  2\n"
      " expt1.dat\n"
      "   1  0.500\n"
      " 0.0010\n"
      " 1.05   5.0\n");
  FixedReader reader(in, "bfgsin.dat");
  std::int32_t nsets = 0;
  std::int32_t flag = 0;
  std::string name(80, '?');
  float weight = 0.0f;
  float tolerance = 0.0f;
  float scale = 0.0f;
  float percent = 0.0f;
  reader.read("(1X,I3)", {&nsets}, "NSETS");
  reader.read("(1x,a)", {&name}, "experiment file name");
  reader.read("(1X,I3,F8.3)", {&flag, &weight}, "include flag and weight");
  reader.read("(1X,F6.4)", {&tolerance}, "relative tolerance");
  reader.read("(1X,2F6.2)", {&scale, &percent}, "scale constraint");
  EXPECT_EQ(nsets, 2);
  EXPECT_EQ(name, "expt1.dat" + std::string(71, ' '));
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(weight, 0.5f);
  EXPECT_EQ(tolerance, 0.001f);
  EXPECT_EQ(scale, 1.05f);
  EXPECT_EQ(percent, 5.0f);
  EXPECT_EQ(reader.line_number(), 5);
}

TEST(FixedReader, ReadsExponentWidthAndRepeatedSlashes) {
  std::istringstream in(" 0.150E+02\nskipped\n  7\n");
  FixedReader reader(in, "set.dat");
  float value = 0.0f;
  std::int32_t count = 0;
  reader.read("(1X,E9.3E2,2/1X,I2)", {&value, &count}, "values");
  EXPECT_EQ(value, 15.0f);
  EXPECT_EQ(count, 7);
}

TEST(FixedReader, RejectsFaultyFormatsAndTargets) {
  std::int32_t i = 0;
  float r = 0.0f;
  std::string s(4, ' ');
  struct Case {
    std::string format;
    Target target;
  };
  const std::vector<Case> cases = {
      {"(1X,I3", &i},      {"1X,I3", &i},
      {"(1X,'a',I3)", &i}, {"(F8)", &r},
      {"(I0)", &i},        {"(0I3)", &i},
      {"(1X I3)", &i},     {"(I3)x", &i},
      {"(Q3)", &i},        {"(1X)", &i},
      {"(I3,(1X))", &i},   {"(I3)", &r},
      {"(F8.3)", &i},      {"(A)", &i},
      {"(I3)", &s},        {"(I3)", static_cast<std::int32_t*>(nullptr)},
      {"(I99999999)", &i}, {std::string(40, '(') + "I3" + std::string(40, ')'), &i},
  };
  for (const Case& c : cases) {
    std::istringstream in("  1\n  2\n");
    FixedReader reader(in, "set.dat");
    EXPECT_THROW(reader.read(c.format, {c.target, c.target}, "item"), FormatError) << c.format;
  }
}

}  // namespace
