// Crout LU decomposition with scaled partial pivoting, and its forward and back substitution.
#include "structfit/lu_decomposition.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "structfit/rfactor_errors.h"

namespace structfit {

namespace {

// Replaces an exactly zero pivot, so a singular system still yields numbers.
constexpr float kPivotFloor = 1.0e-20f;

}  // namespace

LuDecomposition::LuDecomposition(std::vector<std::vector<float>> rows)
    : lu_(std::move(rows)), pivot_(lu_.size(), 0) {
  for (const auto& row : lu_)
    if (row.size() != lu_.size()) throw NumericalFault("singular matrix in ludcmp");
  decompose();
}

void LuDecomposition::decompose() {
  const std::size_t n = lu_.size();
  // Each row's scale: one over its largest absolute element.
  std::vector<float> scale(n);
  for (std::size_t i = 0; i < n; ++i) {
    float big = 0.0f;
    for (const float a : lu_[i]) big = std::max(big, std::fabs(a));
    if (big == 0.0f) throw NumericalFault("singular matrix in ludcmp");
    scale[i] = 1.0f / big;
  }
  for (std::size_t j = 0; j < n; ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      float sum = lu_[i][j];
      for (std::size_t k = 0; k < i; ++k) sum -= lu_[i][k] * lu_[k][j];
      lu_[i][j] = sum;
    }
    float big = 0.0f;
    std::size_t imax = j;
    for (std::size_t i = j; i < n; ++i) {
      float sum = lu_[i][j];
      for (std::size_t k = 0; k < j; ++k) sum -= lu_[i][k] * lu_[k][j];
      lu_[i][j] = sum;
      const float merit = scale[i] * std::fabs(sum);
      if (merit >= big) {
        big = merit;
        imax = i;
      }
    }
    if (imax != j) {
      std::swap(lu_[imax], lu_[j]);
      scale[imax] = scale[j];
    }
    pivot_[j] = imax;
    if (lu_[j][j] == 0.0f) lu_[j][j] = kPivotFloor;
    const float inverse = 1.0f / lu_[j][j];
    for (std::size_t i = j + 1; i < n; ++i) lu_[i][j] *= inverse;
  }
}

std::vector<float> LuDecomposition::solve(std::vector<float> b) const {
  const std::size_t n = lu_.size();
  // Forward substitution, skipping the leading zeros of the permuted right-hand side.
  bool nonzero_seen = false;
  std::size_t first = 0;
  for (std::size_t i = 0; i < n; ++i) {
    float sum = b[pivot_[i]];
    b[pivot_[i]] = b[i];
    if (nonzero_seen) {
      for (std::size_t j = first; j < i; ++j) sum -= lu_[i][j] * b[j];
    } else if (sum != 0.0f) {
      nonzero_seen = true;
      first = i;
    }
    b[i] = sum;
  }
  for (std::size_t i = n; i-- > 0;) {
    float sum = b[i];
    for (std::size_t j = i + 1; j < n; ++j) sum -= lu_[i][j] * b[j];
    b[i] = sum / lu_[i][i];
  }
  return b;
}

}  // namespace structfit
