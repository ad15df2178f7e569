// Conversion of counts between element types, refusing any value the target type cannot
// hold.
#pragma once

#include <cstddef>
#include <optional>

namespace zq {

// Converts `count` elements of type code `from_type` at `from` into `to_type` at `to`.
// Integers convert only when the target holds them exactly; reals convert to integers
// rounded half away from zero and must lie in the target's range (NaN and infinities never
// do). Returns the index of the first element that does not fit (the output is then
// incomplete), or nothing when all fit. Both codes must be valid.
std::optional<std::size_t> convert_elements(const void* from, int from_type, void* to, int to_type,
                                            std::size_t count);

// Element `index` of an array of type code `type`, as a double (exact for every code).
double element_value(const void* data, int type, std::size_t index);

}  // namespace zq
