// Where an ion is in the cell grid: the edge interval of a coordinate in an ascending edge
// list, and the folding of lateral coordinates into the repeat cell.
#pragma once

#include <cstdint>
#include <span>

namespace engine {

// The edge interval of x in the ascending edges B(1..n) (B(k) at edges[k - 1]), searched
// from k = `start` (limited to 1..n first): below B(k) the index falls while
// x < B(k - 1) (result B(k - 1) <= x < B(k)); at x = B(k) it moves to min(k + 1, n); above
// B(k) it rises while x > B(k) (result B(k - 1) < x <= B(k)). The result stays in 1..n
// whatever x is; a NaN leaves the limited start. An empty list gives 1.
std::int32_t locate_cell(std::span<const float> edges, float x, std::int32_t start);

// The same interval searched only upward from `start`: the first k >= start with x <= B(k),
// or n.
std::int32_t search_upward(std::span<const float> edges, float x, std::int32_t start);

// NINT of a real as a real: nearest integer, halves away from zero; values too large to have
// a fraction, infinities and NaN come back unchanged.
float nearest_integer(float v);

// x - NINT(x / P - 1/2) P: folds x into [0, P), except that exact non-positive multiples of
// P become P. A period that is not positive and finite leaves x unchanged.
float fold_periodic(float x, float period);

// fold_periodic, with x returned at once where the formula gives x itself. The fold sits on
// the ion's dependency chain at every step, and the ion is nearly always inside the cell
// already. For P 2^-10 < x < P the formula returns x:
// - x > fl(P 2^-10) puts x above P 2^-10 (the product is exact for a normal P, and a rounded
//   subnormal product is within half the float spacing), so fl(x / P) >= 2^-10 and
//   fl(fl(x / P) - 1/2) >= -1/2 + 2^-10;
// - x < P means x <= P (1 - 2^-24) at most (the float below P), so fl(x / P) <= 1 - 2^-24 and
//   fl(fl(x / P) - 1/2) <= 1/2 - 2^-24;
// so NINT gives 0 and x - 0 P = x. A period that is not positive leaves no such x, and an
// infinite or NaN one fails the first comparison: both take the formula.
inline float wrap_periodic(float x, float period) {
  if (x > period * 0x1p-10f && x < period) return x;
  return fold_periodic(x, period);
}

}  // namespace engine
