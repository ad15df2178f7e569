// Conversion of counts between element types: exact values pass, the rest is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "zq/convert.h"
#include "zq/types.h"

namespace {

// One value of type `from` converted to `to`; nothing when refused.
std::optional<double> convert_value(double value, int from, int to) {
  std::vector<std::byte> source(8);
  zq::with_type(from, [&]<class T>(std::type_identity<T>) {
    const auto element = static_cast<T>(value);
    std::memcpy(source.data(), &element, sizeof(T));
  });
  std::vector<std::byte> target(8);
  if (zq::convert_elements(source.data(), from, target.data(), to, 1)) return std::nullopt;
  return zq::element_value(target.data(), to, 0);
}

struct ConversionCase {
  double value;
  int from;
  int to;
  std::optional<double> expected;
};

TEST(Conversion, KeepsValuesThatFitAndRefusesTheRest) {
  const ConversionCase cases[] = {
      {127, ZQ_INT32, ZQ_INT8, 127},
      {128, ZQ_INT32, ZQ_INT8, std::nullopt},
      {-128, ZQ_INT32, ZQ_INT8, -128},
      {-129, ZQ_INT32, ZQ_INT8, std::nullopt},
      {-1, ZQ_INT32, ZQ_UINT8, std::nullopt},
      {255, ZQ_INT32, ZQ_UINT8, 255},
      {65535, ZQ_INT32, ZQ_UINT16, 65535},
      {-32769, ZQ_INT32, ZQ_INT16, std::nullopt},
      {4294967295.0, ZQ_UINT32, ZQ_INT32, std::nullopt},
      {2147483647, ZQ_UINT32, ZQ_INT32, 2147483647},
      {-1, ZQ_INT32, ZQ_UINT32, std::nullopt},
      {200, ZQ_UINT8, ZQ_INT8, std::nullopt},
      {-5, ZQ_INT8, ZQ_INT32, -5},
      {16777216, ZQ_INT32, ZQ_FLOAT32, 16777216},
      {16777217, ZQ_INT32, ZQ_FLOAT32, std::nullopt},  // no float holds it exactly
      {2.5, ZQ_FLOAT32, ZQ_INT32, 3},                  // half away from zero
      {-2.5, ZQ_FLOAT32, ZQ_INT32, -3},
      {-0.4, ZQ_FLOAT32, ZQ_UINT8, 0},
      {255.4, ZQ_FLOAT32, ZQ_UINT8, 255},
      {255.5, ZQ_FLOAT32, ZQ_UINT8, std::nullopt},
      {3e9, ZQ_FLOAT32, ZQ_INT32, std::nullopt},
      {0.1f, ZQ_FLOAT32, ZQ_FLOAT32, 0.1f},
  };
  for (const ConversionCase& c : cases) {
    EXPECT_EQ(convert_value(c.value, c.from, c.to), c.expected)
        << c.value << " from " << zq::type_name(c.from) << " to " << zq::type_name(c.to);
  }
}

TEST(Conversion, NonFiniteRealsFitNoIntegerType) {
  for (double value : {std::nan(""), std::numeric_limits<double>::infinity()}) {
    for (int to = ZQ_INT8; to <= ZQ_UINT32; ++to) {
      EXPECT_FALSE(convert_value(value, ZQ_FLOAT32, to)) << zq::type_name(to);
    }
  }
}

TEST(Conversion, ReportsTheFirstElementThatDoesNotFit) {
  const std::int32_t counts[] = {1, 2, 300, 400};
  std::uint8_t out[4] = {};
  EXPECT_EQ(zq::convert_elements(counts, ZQ_INT32, out, ZQ_UINT8, 4), std::size_t{2});
}

}  // namespace
