// Uniform deviates from the counter-based generator Philox4x32-10: every ion of every run has
// a stream of its own, fixed by the run seed, the run number and the ion number alone, so a
// run's result does not depend on which thread follows which ion or in what order.
#pragma once

#include <Random123/philox.h>

#include <array>
#include <cstdint>

namespace engine {

// The 64-bit Philox key of one ion run, derived from the run seed and the run number by
// run_key.
struct RunKey {
  std::uint32_t low = 0, high = 0;
  friend bool operator==(const RunKey&, const RunKey&) = default;
};

// The run number of an ion run: 0 for the shadowing run, j for the blocking run of detection
// angle j with the first kinematic group (the group that also serves the shadowing run), and
// j + g 2^32 for the group of 0-based index g > 0. Distinct (angle, group) pairs get distinct
// numbers, and an input without groups numbers its blocking runs 1..N9.
std::uint64_t run_number(std::int32_t angle_index, std::int32_t group = 0);

// The key of run `run` under `seed` (the seed's two's-complement bits): the first two words of
// one Philox4x32-10 block keyed by the seed, over the counter (run low, run high, 0, a fixed
// tag). For one seed, distinct runs are distinct counters of a keyed bijection, so their keys
// are pseudo-random and independent; the tag keeps these counters apart from every counter of
// an ion stream (whose last word is the high half of an ion number, far below the tag).
RunKey run_key(std::int64_t seed, std::uint64_t run);

// The stream of one ion: block b of the stream is Philox4x32-10 under the run key over the
// counter (b low, b high, ion low, ion high), and each block gives four deviates in order, so
// an ion may draw 2^66 deviates before its stream repeats. Cheap to create (no block is made
// before the first draw) and to copy; one per ion, owned by the thread that follows the ion.
class IonStream {
 public:
  IonStream(RunKey key, std::uint64_t ion) : key_{{key.low, key.high}}, ion_(ion) {}

  // The next 32-bit output k of the stream.
  std::uint32_t next_bits() {
    if (next_ == kPerBlock) refill();
    return block_[next_++];
  }

  // u = (k + 1/2) 2^-32 for the next 32-bit output k: strictly between 0 and 1 (2^-33 to
  // 1 - 2^-33), uniform on a grid of step 2^-32, exact in double precision.
  double uniform_deviate() { return (static_cast<double>(next_bits()) + 0.5) * 0x1p-32; }

 private:
  using Philox = r123::Philox4x32_R<10>;
  static constexpr std::uint32_t kPerBlock = 4;

  void refill();

  Philox::key_type key_;
  std::uint64_t ion_;
  std::uint64_t blocks_ = 0;  // blocks made so far: the counter of the next block
  std::array<std::uint32_t, kPerBlock> block_{};
  std::uint32_t next_ = kPerBlock;  // index of the next deviate in block_
};

}  // namespace engine
