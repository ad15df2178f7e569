// The harness's random source: a fixed generator seeded per case, so that a case number and a
// seed give the same inputs on every machine and in every order of running.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace fuzz {

class Random {
 public:
  // Splitmix64 of the run seed and the case number: cases are independent of each other.
  Random(std::uint64_t seed, std::uint64_t case_number)
      : state_(seed * 0x9E3779B97F4A7C15ULL + case_number * 0xBF58476D1CE4E5B9ULL + 1) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // A whole number in [0, n); n > 0.
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }

  // True with probability `percent` / 100.
  bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }

  template <typename T>
  const T& pick(std::span<const T> items) {
    return items[below(items.size())];
  }

 private:
  std::uint64_t state_;
};

}  // namespace fuzz
