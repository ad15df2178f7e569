// LU decomposition (Crout) with partial pivoting scaled by each row's largest element, in
// 32-bit reals, for the small normal-equation systems of the polynomial fits.
#pragma once

#include <cstddef>
#include <vector>

namespace structfit {

class LuDecomposition {
 public:
  // `rows` is a square matrix, one vector per row. Throws NumericalFault ("singular matrix in
  // ludcmp") when a row is all zero; a zero pivot is replaced by 1.0e-20.
  explicit LuDecomposition(std::vector<std::vector<float>> rows);

  // The solution x of A x = b by forward and back substitution.
  std::vector<float> solve(std::vector<float> b) const;

 private:
  void decompose();

  std::vector<std::vector<float>> lu_;  // L below the diagonal (unit diagonal), U on and above
  std::vector<std::size_t> pivot_;      // row swapped into place at each step
};

}  // namespace structfit
