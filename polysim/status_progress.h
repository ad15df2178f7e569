// polysim's progress lines in its status file: the method warnings and "Starting shadowing
// calculation" before the shadowing run, the count of blocking angles and the report of
// implausible hitting probabilities after it, and a line per finished blocking angle.
#pragma once

#include "polysim/progress_sink.h"
#include "polysim/status_file.h"

namespace polysim {

class StatusProgress final : public ProgressSink {
 public:
  explicit StatusProgress(StatusFile& status) : status_(status) {}
  void shadowing_starts(const PreparedRun& run) override;
  void shadowing_done(const PreparedRun& run, const RunResults& results) override;
  void blocking_angle_done(std::int32_t j) override;

 private:
  StatusFile& status_;
};

}  // namespace polysim
