// Work cut into chunks that all threads share, each chunk computed into a partial result of its
// own, the partials handed over in chunk order. Whatever the thread count and whichever thread
// runs which chunk, every partial holds one chunk's result and they are combined in the same
// order, so the combined result is the same bit for bit.
#pragma once

#include <omp.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <vector>

namespace engine {

// The threads of a parallel region: `requested` if positive, else OpenMP's count
// (OMP_NUM_THREADS, all cores by default); never more than there are chunks, never below 1.
inline int thread_count(int requested, std::int64_t chunks) {
  const std::int64_t wanted = requested > 0 ? requested : omp_get_max_threads();
  return static_cast<int>(std::max<std::int64_t>(1, std::min(wanted, chunks)));
}

namespace detail {

// The hand-over of finished chunks: slot c mod S holds chunk c from the moment a thread takes
// chunk c until the chunk is taken in order. A thread waits only when the chunk it would start
// next needs the slot of a chunk still waiting for an earlier one, that is when it ran S chunks
// ahead of the slowest; waiting threads sleep rather than spin.
class ChunkHandOver {
 public:
  ChunkHandOver(std::int64_t chunks, int slots)
      : chunks_(chunks), slots_(slots), filled_(static_cast<std::size_t>(slots), false) {}

  int slots() const { return slots_; }
  std::size_t slot(std::int64_t chunk) const { return static_cast<std::size_t>(chunk % slots_); }

  // The next chunk to compute, once its slot is free; nothing when all are handed out or the
  // work stopped.
  std::optional<std::int64_t> next_chunk() {
    std::unique_lock lock(mutex_);
    if (stopped_ || next_chunk_ == chunks_) return std::nullopt;
    const std::int64_t chunk = next_chunk_++;
    slot_freed_.wait(lock, [&] { return stopped_ || next_take_ > chunk - slots_; });
    if (stopped_) return std::nullopt;
    return chunk;
  }

  // Marks `chunk` computed. Then, unless another thread is already doing it, takes every chunk
  // that is next in order and computed, with take(chunk) outside the lock: only the taking
  // thread touches those slots, and other threads go on fetching and finishing chunks meanwhile.
  template <typename TakeChunk>
  void finished(std::int64_t chunk, TakeChunk take) {
    std::unique_lock lock(mutex_);
    filled_[slot(chunk)] = true;
    if (taking_) return;
    taking_ = true;
    while (!stopped_ && next_take_ < chunks_ && filled_[slot(next_take_)]) {
      const std::int64_t next = next_take_;
      lock.unlock();
      const bool taken = take(next);
      lock.lock();
      if (!taken) break;
      filled_[slot(next)] = false;
      ++next_take_;
      slot_freed_.notify_all();
    }
    taking_ = false;
  }

  // Stops the work: no chunk is handed out or taken any more, and waiting threads wake up.
  void stop() {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
    slot_freed_.notify_all();
  }

 private:
  const std::int64_t chunks_;
  const int slots_;
  std::mutex mutex_;
  std::condition_variable slot_freed_;
  std::int64_t next_chunk_ = 0;  // the next chunk to hand out
  std::int64_t next_take_ = 0;   // the next chunk to take: all before it are taken
  std::vector<bool> filled_;     // per slot: holds a computed chunk not yet taken
  bool taking_ = false;          // a thread is taking chunks
  bool stopped_ = false;
};

}  // namespace detail

// Runs chunks 0..chunks-1 on thread_count(threads, chunks) threads, with at most
// threads + spare_partials partials (and never more than chunks): a thread fetches the next
// chunk and computes it into a free partial with compute(c, partial), which adds the result of
// chunk c to a partial that holds nothing (as made by make_partial(), or as take left it).
// Then, in chunk order and one at a time, take(c, partial) consumes it and must leave it
// holding nothing again (for example: add it to the total and clear it in the same pass).
// The spare partials let a thread that finished a chunk early go on with the next while an
// earlier chunk is still being computed; a thread waits only when it runs that many partials
// ahead of the slowest.
//
// The first exception thrown by make_partial, compute or take stops the work (chunks not yet
// started are skipped, later chunks are not taken) and is rethrown here after all threads
// have stopped.
template <typename MakePartial, typename Compute, typename Take>
void run_ordered_chunks(std::int64_t chunks, int threads, int spare_partials,
                        MakePartial make_partial, Compute compute, Take take) {
  if (chunks <= 0) return;
  const int team = thread_count(threads, chunks);
  const auto slots =
      static_cast<int>(std::min<std::int64_t>(chunks, team + std::max(0, spare_partials)));
  detail::ChunkHandOver hand_over(chunks, slots);
  std::vector<std::optional<decltype(make_partial())>> partials(static_cast<std::size_t>(slots));
  std::exception_ptr failure;
  std::mutex failure_mutex;
  const auto fail = [&] {
    {
      const std::lock_guard lock(failure_mutex);
      if (!failure) failure = std::current_exception();
    }
    hand_over.stop();
  };
  const auto take_in_order = [&](std::int64_t c) {
    try {
      take(c, *partials[hand_over.slot(c)]);
      return true;
    } catch (...) {
      fail();
      return false;
    }
  };
#pragma omp parallel num_threads(team)
  while (const std::optional<std::int64_t> chunk = hand_over.next_chunk()) {
    auto& partial = partials[hand_over.slot(*chunk)];
    try {
      if (!partial) partial.emplace(make_partial());
      compute(*chunk, *partial);
    } catch (...) {
      fail();
      break;
    }
    hand_over.finished(*chunk, take_in_order);
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace engine
