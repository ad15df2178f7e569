// Where an ion is in the cell grid: the edge interval of a coordinate in an ascending edge
// list, and the folding of lateral coordinates into the repeat cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace engine {

// The edge interval of x in the ascending edges B(1..n) (B(k) at edges[k - 1]), searched
// from k = `start` (limited to 1..n first): below B(k) the index falls while
// x < B(k - 1) (result B(k - 1) <= x < B(k)); at x = B(k) it moves to min(k + 1, n); above
// B(k) it rises while x > B(k) (result B(k - 1) < x <= B(k)). The result stays in 1..n
// whatever x is; a NaN leaves the limited start. An empty list gives 1.
std::int32_t locate_cell(std::span<const float> edges, float x, std::int32_t start);

// locate_cell for a start near the result, prepared for one edge list: the result then
// depends on B(1..n - 1) only, as start - [x < B(start - 1)] + [x >= B(start)], where an edge
// the search never crosses (below cell 1, above cell n) is a NaN that no comparison passes.
// That holds wherever the search moves at most one interval: for ascending edges,
// - B(k - 1) <= x < B(k) stays at k;
// - B(k - 2) <= x < B(k - 1) falls to k - 1 and stops (x >= B(k - 2)), as does any x below
//   B(1) from k = 2 (the fall ends at 1);
// - B(k) <= x <= B(k + 1) rises to k + 1 (at x = B(k) directly, above it by one step that
//   stops at x <= B(k + 1)), as does any x at or above B(n - 1) from k = n - 1 (the rise ends
//   at n); from k = n every x at or above B(n - 1) stays at n.
// So the window B(k - 2) <= x <= B(k + 1) (open below for k <= 2, above for k >= n - 1)
// decides; outside it, a NaN, a start outside 1..n or edges that do not ascend take the
// full search. The step and window lists are the crossings and window ends with their
// open sides (NaN, -inf, +inf) filled in, so the cell search of a step needs no branch on
// where the ion is.
struct NearbyCells {
  std::vector<float> edges;   // B(1..n), for the full search
  std::vector<float> step;    // index j = 0..n: B(j) for 1 <= j < n, NaN at 0 and n
  std::vector<float> window;  // index j + 1 for j = -1..n + 1: B(j) for 1 <= j < n, -inf
                              // below, +inf above
  std::int32_t count = 0;     // n
};

// The lists of `edges`; edges that do not ascend get a window no x lies in.
NearbyCells prepare_nearby_cells(std::span<const float> edges);

// locate_cell(near.edges, x, start) out of line, for the rare steps outside the window.
std::int32_t locate_far_cell(const NearbyCells& near, float x, std::int32_t start);

// locate_cell(near.edges, x, start).
inline std::int32_t locate_cell_near(const NearbyCells& near, float x, std::int32_t start) {
  if (start >= 1 && start <= near.count) {
    const auto k = static_cast<std::size_t>(start);
    if (near.window[k - 1] <= x && x <= near.window[k + 2])
      return start - static_cast<std::int32_t>(x < near.step[k - 1]) +
             static_cast<std::int32_t>(x >= near.step[k]);
  }
  return locate_far_cell(near, x, start);
}

// The same interval searched only upward from `start`: the first k >= start with x <= B(k),
// or n.
std::int32_t search_upward(std::span<const float> edges, float x, std::int32_t start);

// NINT of a real as a real: nearest integer, halves away from zero; values too large to have
// a fraction, infinities and NaN come back unchanged.
float nearest_integer(float v);

// x - NINT(x / P - 1/2) P: folds x into [0, P), except that exact non-positive multiples of
// P become P. A period that is not positive and finite leaves x unchanged.
float fold_periodic(float x, float period);

// NINT(x / P - 1/2) as fold_periodic takes it.
float fold_count(float x, float period);

// fold_periodic for one period, prepared. Each step of NINT(fl(fl(x / P) - 1/2)) keeps the
// order of its argument, so as x rises the count never falls: it is -1, 0 and 1 on three
// adjacent ranges [t(-1), t(0)), [t(0), t(1)), [t(1), t(2)) of floats, t(k) the lowest float
// whose count reaches k, found by bisection on the formula itself. The ion crosses the repeat
// cell's edges at random, so within those ranges the fold takes the count from comparisons
// instead of a jump the processor would guess wrong; beyond them, and for a period that is
// not positive or above a quarter of the largest float (NaN ends: no x lies within), the
// formula.
struct PeriodicFold {
  float period = 0.0f;
  float lowest = std::numeric_limits<float>::quiet_NaN();  // t(-1)
  float zero = std::numeric_limits<float>::quiet_NaN();    // t(0)
  float one = std::numeric_limits<float>::quiet_NaN();     // t(1)
  float beyond = std::numeric_limits<float>::quiet_NaN();  // t(2)
};

PeriodicFold prepare_fold(float period);

// fold_periodic(x, fold.period).
inline float wrap_periodic(const PeriodicFold& fold, float x) {
  if (fold.lowest <= x && x < fold.beyond) {
    const std::int32_t count =
        static_cast<std::int32_t>(x >= fold.one) - static_cast<std::int32_t>(x < fold.zero);
    return x - static_cast<float>(count) * fold.period;
  }
  return fold_periodic(x, fold.period);
}

}  // namespace engine
