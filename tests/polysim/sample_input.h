// A small but complete simulation input: a two-type, four-atom slab of 2 x 1 cells and two
// layers, two structure models and three vibration models.
#pragma once

#include <stdexcept>
#include <string>

namespace polysim_test {

inline std::string sample_input() {
  return R"( Test slab for the reader
 1.5 2.5
 0 1 1 0 0 0 0 1
 4 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3
 29 63.546
 8 15.999
 2 1.5E15
 0.0 0.0
 0.0 0.0 0.0 1 1 1 0.1 9.0 9.0 1
 1.8 0.0 0.0 2 1 1 0.1 9.0 9.0 2
 0.0 0.0 1.8 1 1 2 0.08 9.0 9.0 1 extra values 1 2 3
 1.8 0.0 1.8 2 1 2 0.08 9.0 9.0 1
 3.6 3.6
 0.0 0.9
 0.0
 -0.9 0.9
 10.0 35.0 100.0 0.5 2.0
 1 1.008 100.0 50.0 25.0
 'top shift' 2
 0.0 -0.1
 1 2
 'sigma top' 3
 0.1 0.15 0.2
 1 2 3
 0.0 0.0 0.0   0.0 0.0 0.0
 0.0 0.0 -0.1  0.05 0.0 0.0
 0.1 0.1 0.08
 0.15 0.1 0.08
 0.2 0.1 0.08
 0
)";
}

// The sample input with its first `from` replaced by `to`.
inline std::string sample_with(const std::string& from, const std::string& to) {
  std::string text = sample_input();
  const std::size_t at = text.find(from);
  if (at == std::string::npos) throw std::logic_error("not in the sample input: " + from);
  return text.replace(at, from.size(), to);
}

}  // namespace polysim_test
