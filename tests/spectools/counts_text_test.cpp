// The text form of counts used by specstore: shapes, faults named by line, exact round trip.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "spectools/specstore/counts_text.h"
#include "spectools/specstore/typed_values.h"
#include "zq/zq.h"

namespace {

using specstore::CountsTable;
using specstore::TextError;

CountsTable read(const std::string& text, int type = ZQ_INT32, bool two = false) {
  std::istringstream in(text);
  return specstore::read_counts(in, "counts.txt", type, two);
}

std::string failure(const std::string& text, int type = ZQ_INT32) {
  try {
    read(text, type);
  } catch (const TextError& error) {
    return error.what();
  }
  return "<read>";
}

TEST(CountsText, OneCountPerLineIsOneDimensional) {
  const CountsTable table = read("5\n-3\r\n7\n\n\n");
  EXPECT_EQ(table.dim, 1);
  EXPECT_EQ(table.range1, 3);
  EXPECT_EQ(table.values, (std::vector<double>{5, -3, 7}));
}

TEST(CountsText, LinesAreAxisTwoChannelsCountsAxisOne) {
  const CountsTable table = read("1 2 3\n4\t5 6\n");
  EXPECT_EQ(table.dim, 2);
  EXPECT_EQ(table.range1, 3);
  EXPECT_EQ(table.range2, 2);
  EXPECT_EQ(table.values, (std::vector<double>{1, 2, 3, 4, 5, 6}));
  const CountsTable column = read("1\n2\n", ZQ_INT32, true);
  EXPECT_EQ(column.dim, 2);
  EXPECT_EQ(column.range1, 1);
  EXPECT_EQ(column.range2, 2);
}

TEST(CountsText, FaultsNameTheLine) {
  EXPECT_EQ(failure("1 2\n3 4\n5\n"), "counts.txt, line 3: 1 counts where the first line has 2");
  EXPECT_EQ(failure("1\n\n2\n"), "counts.txt, line 2: no counts on the line");
  EXPECT_EQ(failure("1\nx\n"), "counts.txt, line 2: 'x' is not a count of type int32");
  EXPECT_EQ(failure("1.5\n"), "counts.txt, line 1: '1.5' is not a count of type int32");
  EXPECT_EQ(failure("256\n", ZQ_UINT8), "counts.txt, line 1: '256' is not a count of type uint8");
  EXPECT_EQ(failure("-1\n", ZQ_UINT32), "counts.txt, line 1: '-1' is not a count of type uint32");
  EXPECT_EQ(failure("nan\n", ZQ_FLOAT32),
            "counts.txt, line 1: 'nan' is not a count of type float32");
  EXPECT_EQ(failure("\n \n"), "counts.txt: no counts");
}

TEST(CountsText, FormattedCountsReadBackExactly) {
  const std::vector<double> reals = {0.1f, -3.4028235e38f, 1.17549435e-38f, 16777217.0f};
  const std::string text = specstore::format_counts(reals, 2, ZQ_FLOAT32);
  EXPECT_EQ(read(text, ZQ_FLOAT32).values, reals);
  const std::vector<double> big = {4294967295.0, 0, 7};
  EXPECT_EQ(specstore::format_counts(big, 1, ZQ_UINT32), "4294967295\n0\n7\n");
}

}  // namespace
