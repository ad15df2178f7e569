// Element conversion with range checks.
#include "zq/convert.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

#include "zq/types.h"

namespace zq {
namespace {

template <class To, class From>
bool convert_one(From value, To& out) {
  if constexpr (std::is_floating_point_v<From> && std::is_floating_point_v<To>) {
    out = static_cast<To>(value);
    return true;
  } else if constexpr (std::is_floating_point_v<From>) {
    if (!std::isfinite(value)) return false;
    const double rounded = std::round(static_cast<double>(value));  // half away from zero
    if (rounded < static_cast<double>(std::numeric_limits<To>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<To>::max())) {
      return false;
    }
    out = static_cast<To>(rounded);
    return true;
  } else if constexpr (std::is_floating_point_v<To>) {
    out = static_cast<To>(value);
    return static_cast<double>(out) == static_cast<double>(value);
  } else {
    if (!std::in_range<To>(value)) return false;
    out = static_cast<To>(value);
    return true;
  }
}

template <class From, class To>
std::optional<std::size_t> convert_array(const std::byte* from, std::byte* to, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    From value;
    std::memcpy(&value, from + i * sizeof(From), sizeof(From));
    To out;
    if (!convert_one(value, out)) return i;
    std::memcpy(to + i * sizeof(To), &out, sizeof(To));
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> convert_elements(const void* from, int from_type, void* to, int to_type,
                                            std::size_t count) {
  const auto* source = static_cast<const std::byte*>(from);
  auto* target = static_cast<std::byte*>(to);
  return with_type(from_type, [&]<class From>(std::type_identity<From>) {
    return with_type(to_type, [&]<class To>(std::type_identity<To>) {
      return convert_array<From, To>(source, target, count);
    });
  });
}

double element_value(const void* data, int type, std::size_t index) {
  return with_type(type, [&]<class T>(std::type_identity<T>) {
    T value;
    std::memcpy(&value, static_cast<const std::byte*>(data) + index * sizeof(T), sizeof(T));
    return static_cast<double>(value);
  });
}

}  // namespace zq
