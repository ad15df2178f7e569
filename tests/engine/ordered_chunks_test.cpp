// Chunks run on several threads and taken in chunk order: the combined result is the same bit
// for bit at any thread count, no more partials are made than threads and spares, a thread
// that finished early goes on while an earlier chunk runs, and the first failure reaches the
// caller.
#include "engine/ordered_chunks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

constexpr std::int64_t kChunks = 200;
constexpr int kTermsPerChunk = 500;

// Terms of very different sizes, so that a float sum depends on the order of additions.
float term(std::int64_t chunk, int k) {
  const auto n = static_cast<double>(chunk * kTermsPerChunk + k);
  return static_cast<float>(std::sin(n) * std::pow(10.0, std::fmod(n, 7.0)));
}

struct Outcome {
  float total = 0.0f;
  std::vector<std::int64_t> taken;
  int partials = 0;
};

Outcome chunked_sum(int threads, int spares) {
  Outcome outcome;
  std::atomic<int> partials{0};
  engine::run_ordered_chunks(
      kChunks, threads, spares,
      [&] {
        ++partials;
        return 0.0f;
      },
      [](std::int64_t c, float& partial) {
        for (int k = 0; k < kTermsPerChunk; ++k) partial += term(c, k);
      },
      [&](std::int64_t c, float& partial) {
        outcome.total += partial;
        partial = 0.0f;
        outcome.taken.push_back(c);
      });
  outcome.partials = partials.load();
  return outcome;
}

TEST(OrderedChunks, SameResultAtAnyThreadCountWithChunksTakenInOrder) {
  float serial = 0.0f;
  for (std::int64_t c = 0; c < kChunks; ++c) {
    float chunk = 0.0f;
    for (int k = 0; k < kTermsPerChunk; ++k) chunk += term(c, k);
    serial += chunk;
  }
  std::vector<std::int64_t> in_order(kChunks);
  for (std::int64_t c = 0; c < kChunks; ++c) in_order[static_cast<std::size_t>(c)] = c;
  for (const int threads : {1, 2, 3, 7}) {
    for (const int spares : {0, 1, 5}) {
      const Outcome outcome = chunked_sum(threads, spares);
      EXPECT_EQ(outcome.total, serial) << threads << " threads, " << spares << " spares";
      EXPECT_EQ(outcome.taken, in_order) << threads << " threads, " << spares << " spares";
      EXPECT_GE(outcome.partials, 1);
      EXPECT_LE(outcome.partials, threads + spares);
    }
  }
}

// Chunk 0 lasts until three later chunks are computed: the second thread parks chunks 1 and 2
// in spare partials and computes chunk 3 (its fourth partial) instead of waiting for chunk 0.
TEST(OrderedChunks, ThreadThatFinishedEarlyGoesOnWhileAnEarlierChunkRuns) {
  std::atomic<int> later_done{0};
  bool overtaken = false;
  std::vector<std::int64_t> taken;
  engine::run_ordered_chunks(
      8, 2, 2, [] { return 0; },
      [&](std::int64_t c, int& partial) {
        partial = static_cast<int>(c);
        if (c > 0) {
          ++later_done;
          return;
        }
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (later_done.load() < 3 && std::chrono::steady_clock::now() < give_up)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        overtaken = later_done.load() >= 3;
      },
      [&](std::int64_t c, int& partial) {
        EXPECT_EQ(partial, c);
        taken.push_back(c);
      });
  EXPECT_TRUE(overtaken);
  EXPECT_EQ(taken, (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(OrderedChunks, ThreadCountIsTheRequestBoundedByTheChunks) {
  EXPECT_EQ(engine::thread_count(3, 100), 3);
  EXPECT_EQ(engine::thread_count(3, 2), 2);
  EXPECT_EQ(engine::thread_count(5, 0), 1);
  EXPECT_EQ(engine::thread_count(0, 1000000), std::min(omp_get_max_threads(), 1000000));
}

TEST(OrderedChunks, NoChunksCallsNothing) {
  int calls = 0;
  engine::run_ordered_chunks(
      0, 2, 1, [&] { return ++calls; }, [&](std::int64_t, int&) { ++calls; },
      [&](std::int64_t, int&) { ++calls; });
  EXPECT_EQ(calls, 0);
}

TEST(OrderedChunks, FirstFailureStopsTheWorkAndReachesTheCaller) {
  const struct {
    const char* where;
    std::int64_t failing_compute, failing_take;
  } cases[] = {{"compute", 57, -1}, {"take", -1, 57}};
  for (const auto& c : cases) {
    for (const int threads : {1, 3}) {
      std::vector<std::int64_t> taken;
      EXPECT_THROW(engine::run_ordered_chunks(
                       kChunks, threads, 1, [] { return 0; },
                       [&](std::int64_t chunk, int&) {
                         if (chunk == c.failing_compute) throw std::runtime_error(c.where);
                       },
                       [&](std::int64_t chunk, int&) {
                         if (chunk == c.failing_take) throw std::runtime_error(c.where);
                         taken.push_back(chunk);
                       }),
                   std::runtime_error)
          << c.where << ", " << threads << " threads";
      // Nothing at or after the failing chunk is taken, and what is taken is in order.
      ASSERT_LE(taken.size(), 57u) << c.where;
      for (std::size_t k = 0; k < taken.size(); ++k)
        EXPECT_EQ(taken[k], static_cast<std::int64_t>(k));
    }
  }
}

TEST(OrderedChunks, FailingPartialIsReported) {
  EXPECT_THROW(engine::run_ordered_chunks(
                   10, 2, 2, []() -> int { throw std::length_error("no memory for a partial"); },
                   [](std::int64_t, int&) {}, [](std::int64_t, int&) {}),
               std::length_error);
}

}  // namespace
