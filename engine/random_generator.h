// The uniform random generator of the Monte-Carlo engine: a multiplicative congruential
// generator (multiplier 48271, modulus 2^31 - 1) in 32-bit integer arithmetic. Each run or
// worker owns its own generator object; there is no global state.
#pragma once

#include <cstdint>

namespace engine {

class RandomGenerator {
 public:
  RandomGenerator() = default;  // state 1, the state at program start
  explicit RandomGenerator(std::int32_t state) : state_(state) {}

  // Advances the state and returns u in (0, 1): the new state times 4.656612875245797E-10
  // (1 / (2^31 - 1), within 5e-10 relative of 2^-31). A state of 0 is taken as -1.
  double uniform_deviate();

  void seed(std::int32_t state) { state_ = state; }
  // Seeds from the local time and the time since program start (see clock_seed).
  void seed_from_clock();

  std::int32_t state() const { return state_; }

 private:
  std::int32_t state_ = 1;
};

// The two 16-bit halves of `s` exchanged (a rotation by 16 bits).
std::int32_t exchange_halves(std::int32_t s);

// The clock seed: the local date and time in seconds plus the milliseconds elapsed since
// program start, in wrapping 32-bit arithmetic, with its halves exchanged so that the fast
// changing low bits reach the high half of the state.
std::int32_t clock_seed();

}  // namespace engine
