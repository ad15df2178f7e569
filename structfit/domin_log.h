// The minimizer's step log (domin.res): started with "Started Search", every entry appended.
// A resumed search continues the log of the passes before it rather than erasing it.
#pragma once

#include <string>
#include <vector>

namespace structfit {

class StepLog {
 public:
  // Creates (or empties) the log, or with `continued` appends to it, and writes "Started
  // Search".
  StepLog(std::string path, bool continued);

  void step_head(int step, float f, float norm_g, const std::vector<float>& x,
                 const std::vector<float>& diag) const;                           // kind 1
  void direction(float norm_a, float cond_a, const std::vector<float>& d) const;  // kind 2
  void search_result(float sigma, float dskal, float norm_d, float calls) const;  // kind 3
  void update_vectors(float theta, const std::vector<float>& z,
                      const std::vector<float>& y) const;  // kind 4
  void marks(float restart, float update) const;           // kind 5
  void trial(float sigma, float f_trial) const;            // kind 6
  void traces(float trace_a, float trace_b) const;         // kind 7
  void scaled_point(const std::vector<float>& x, const std::vector<float>& g,
                    const std::vector<float>& x_unscaled,
                    const std::vector<float>& g_unscaled) const;  // kind 8
  void hessian_diagonal(const std::vector<float>& h,
                        const std::vector<float>& scale) const;  // kind 9

 private:
  void append(const std::string& text) const;
  std::string path_;
};

}  // namespace structfit
