// Free-form lines: the reference output of a Fortran runtime's list-directed writes.
#include <gtest/gtest.h>

#include <string>

#include "textio/free_writer.h"
#include "writer_reference.h"

namespace {

TEST(FreeLine, MatchesReferenceOutput) {
  const auto cases = textio_test::load_writer_cases("free_expected.txt");
  ASSERT_GE(cases.size(), 20u);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    textio::FreeLine line;
    for (const auto& item : c.items) {
      if (const auto* i = std::get_if<std::int32_t>(&item)) {
        line << *i;
      } else if (const auto* wide = std::get_if<std::int64_t>(&item)) {
        line << *wide;
      } else if (const auto* f = std::get_if<float>(&item)) {
        line << *f;
      } else if (const auto* s = std::get_if<std::string>(&item)) {
        line << std::string_view(*s);
      } else {
        FAIL() << "free-form lines take no 64-bit reals";
      }
    }
    EXPECT_EQ(line.str(), c.output);
  }
}

TEST(FreeLine, StrDoesNotEndTheLine) {
  textio::FreeLine line;
  line << "a";
  EXPECT_EQ(line.str(), " a\n");
  line << 1;
  EXPECT_EQ(line.str(), " a           1\n");
}

}  // namespace
