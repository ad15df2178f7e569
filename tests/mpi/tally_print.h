// The raw sums of every ion run of a simulation, printed exactly (hexadecimal doubles): the
// result files round the sums to a few digits, which would hide a change in the order of
// additions.
#pragma once

#include <cstdio>
#include <string>

#include "polysim/simulate.h"

namespace mpi_test {

class PrintedRuns final : public polysim::IonRuns {
 public:
  explicit PrintedRuns(polysim::IonRuns& runs) : runs_(runs) {}
  engine::HitTally run(const polysim::PreparedRun& run, const engine::FixedTables& fixed,
                       const polysim::ScheduledRun& scheduled, const engine::RunKey& key,
                       int threads) override {
    engine::HitTally tally = runs_.run(run, fixed, scheduled, key, threads);
    char number[40];
    for (const double sum : tally.hit_sum) {
      std::snprintf(number, sizeof number, " %a", sum);
      text_ += number;
    }
    std::snprintf(number, sizeof number, " %a %lld\n", tally.overlayer_deflection_sum,
                  static_cast<long long>(tally.partner_searches));
    text_ += number;
    return tally;
  }
  const std::string& text() const { return text_; }

 private:
  polysim::IonRuns& runs_;
  std::string text_;
};

}  // namespace mpi_test
