// Where a simulation reports its progress. A simulation calls these in its order; each
// implementation writes what its program shows (polysim's status file, a fitter's console,
// or nothing).
#pragma once

#include <cstdint>
#include <ostream>

#include "polysim/run_results.h"

namespace polysim {

struct PreparedRun;

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // Before the shadowing run.
  virtual void shadowing_starts(const PreparedRun& /*run*/) {}
  // After it, with its hitting probabilities filled in.
  virtual void shadowing_done(const PreparedRun& /*run*/, const RunResults& /*results*/) {}
  // Before and after the blocking runs of detection angle j (1-based).
  virtual void blocking_angle_starts(std::int32_t /*j*/) {}
  virtual void blocking_angle_done(std::int32_t /*j*/) {}
};

// Reports nothing: tests, benchmarks.
class SilentProgress final : public ProgressSink {};

// The console lines of a simulation embedded in another program: "Starting shadowing...."
// once, then "Starting blocking angle :" with the number of each detection angle.
class ConsoleProgress final : public ProgressSink {
 public:
  explicit ConsoleProgress(std::ostream& console) : console_(console) {}
  void shadowing_starts(const PreparedRun& run) override;
  void blocking_angle_starts(std::int32_t j) override;

 private:
  std::ostream& console_;
};

}  // namespace polysim
