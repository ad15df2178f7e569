// Typed failures of the R-factor: inputs it refuses (they would divide by zero or leave nothing
// to compare) and numerical faults that the input checks should make unreachable.
#pragma once

#include <stdexcept>
#include <string>

namespace structfit {

// Where a refused value came from: the measured curve, the simulated curve (its result file)
// or the data set's scale constraint (the set-up file).
enum class RFactorInput { experiment, simulation, scale_constraint };

// An input the R-factor cannot work with. what() says what is wrong; the caller knows the
// file and adds it, with point() as the line: the points of the measured and the simulated
// curve are read one per line, so point i is line i (0 when the curve or the constraint as
// a whole is refused).
class RFactorRefused : public std::runtime_error {
 public:
  RFactorRefused(RFactorInput input, int point, const std::string& problem)
      : std::runtime_error(problem), input_(input), point_(point) {}
  RFactorInput input() const { return input_; }
  int point() const { return point_; }

 private:
  RFactorInput input_;
  int point_;
};

// A spline or linear-algebra routine met data it cannot handle ("bad xa input in splint",
// "singular matrix in ludcmp"). A fault of the program: the checks before should exclude it.
class NumericalFault : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// The skew file could not be created or written; what() names the file.
class SkewFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace structfit
