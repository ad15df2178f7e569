// Work cut into chunks that all threads share, each chunk computed into the partial result of
// the thread that runs it, the partials handed over in chunk order. Whatever the thread count
// and whichever thread runs which chunk, every partial holds one chunk's result and they are
// combined in the same order, so the combined result is the same bit for bit.
#pragma once

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <optional>

namespace engine {

// The threads of a parallel region: `requested` if positive, else OpenMP's count
// (OMP_NUM_THREADS, all cores by default); never more than there are chunks, never below 1.
inline int thread_count(int requested, std::int64_t chunks) {
  const std::int64_t wanted = requested > 0 ? requested : omp_get_max_threads();
  return static_cast<int>(std::max<std::int64_t>(1, std::min(wanted, chunks)));
}

// Runs chunks 0..chunks-1 on thread_count(threads, chunks) threads. Each thread makes one
// partial with make_partial() and runs its chunks into it: compute(c, partial) adds the
// result of chunk c to a partial that holds nothing (as made, or as take left it). Then, in
// chunk order and one at a time, take(c, partial) consumes it and must leave it holding
// nothing again (for example: add it to the total and clear it in the same pass). So at most
// one partial per thread exists, and a thread that finished a chunk early waits until the
// chunks before it are taken.
//
// The first exception thrown by make_partial, compute or take stops the work (chunks not yet
// started are skipped, later chunks are not taken) and is rethrown here after all threads
// have stopped.
template <typename MakePartial, typename Compute, typename Take>
void run_ordered_chunks(std::int64_t chunks, int threads, MakePartial make_partial, Compute compute,
                        Take take) {
  if (chunks <= 0) return;
  std::atomic<bool> stopped{false};
  std::exception_ptr failure;
  const auto fail = [&] {
#pragma omp critical(engine_ordered_chunks_failure)
    if (!failure) failure = std::current_exception();
    stopped.store(true);
  };
#pragma omp parallel num_threads(thread_count(threads, chunks))
  {
    std::optional<decltype(make_partial())> partial;
    try {
      partial.emplace(make_partial());
    } catch (...) {
      fail();
    }
#pragma omp for ordered schedule(dynamic, 1)
    for (std::int64_t c = 0; c < chunks; ++c) {
      bool computed = false;
      if (partial && !stopped.load()) {
        try {
          compute(c, *partial);
          computed = true;
        } catch (...) {
          fail();
        }
      }
#pragma omp ordered
      if (computed && !stopped.load()) {
        try {
          take(c, *partial);
        } catch (...) {
          fail();
        }
      }
    }
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace engine
