// Mutations of input texts and of binary files. Each change is described in `log`, so that a
// failing case can be read without rerunning it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "random.h"

namespace fuzz {

using Log = std::vector<std::string>;

// Values at and beyond the edges of what inputs hold: zero, negative, huge and tiny reals,
// NaN and Inf, integer limits and beyond.
std::span<const std::string_view> extreme_numbers();

// Spectrum names a store must refuse or survive: empty, dots, paths, control characters,
// very long, option-like, and an existing spectrum.
std::span<const std::string_view> hostile_names();

struct TextShape {
  std::size_t first_mutable_line = 0;  // lines before it keep their numbers (a comment)
  std::ptrdiff_t dimension_line = -1;  // a record of counts to blow up; -1: none
};

// One to three changes: a number replaced by an extreme, a line deleted, duplicated, cut,
// swapped or added, a byte changed, the file cut, a count of the dimension record made huge.
std::string mutate_text(std::string text, const TextShape& shape, Random& random, Log& log);

// One or two changes: random bytes at random places (often in the first kilobytes, where the
// file's own structure lies), a zeroed or 0xff-filled run, the file cut or lengthened.
std::string mutate_bytes(std::string bytes, Random& random, Log& log);

}  // namespace fuzz
