// Conversion between texts, doubles and typed element buffers.
#include "spectools/specstore/typed_values.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>

#include "zq/types.h"

namespace specstore {
namespace {

std::optional<double> parse_integer(const std::string& text, double lowest, double highest) {
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || errno == ERANGE) return std::nullopt;
  const auto result = static_cast<double>(value);
  if (result < lowest || result > highest) return std::nullopt;
  return result;
}

std::optional<double> parse_real(const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const float value = std::strtof(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || errno == ERANGE || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<double> parse_value(std::string_view token, int type) {
  const std::string text(token);
  return zq::with_type(type, [&]<class T>(std::type_identity<T>) {
    if constexpr (std::is_floating_point_v<T>) {
      return parse_real(text);
    } else {
      return parse_integer(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    }
  });
}

std::string format_value(double value, int type) {
  char text[32];
  if (type == ZQ_FLOAT32) {
    std::snprintf(text, sizeof text, "%.9g", value);
  } else {
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
  }
  return text;
}

std::vector<std::byte> pack(const std::vector<double>& values, int type) {
  return zq::with_type(type, [&]<class T>(std::type_identity<T>) {
    std::vector<std::byte> buffer(values.size() * sizeof(T));
    for (std::size_t i = 0; i < values.size(); ++i) {
      const auto element = static_cast<T>(values[i]);
      std::memcpy(buffer.data() + i * sizeof(T), &element, sizeof(T));
    }
    return buffer;
  });
}

std::vector<double> unpack(const std::vector<std::byte>& buffer, int type) {
  return zq::with_type(type, [&]<class T>(std::type_identity<T>) {
    std::vector<double> values(buffer.size() / sizeof(T));
    for (std::size_t i = 0; i < values.size(); ++i) {
      T element;
      std::memcpy(&element, buffer.data() + i * sizeof(T), sizeof(T));
      values[i] = static_cast<double>(element);
    }
    return values;
  });
}

}  // namespace specstore
