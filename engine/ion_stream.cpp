// The run key derivation and the making of one block of an ion's stream.
#include "engine/ion_stream.h"

namespace engine {

namespace {

// The last counter word of a key derivation ("key!" in ASCII): an ion stream reaches it only
// after 2^32 times this many ions.
constexpr std::uint32_t kKeyTag = 0x6b657921u;

std::uint32_t low_word(std::uint64_t value) {
  return static_cast<std::uint32_t>(value);
}

std::uint32_t high_word(std::uint64_t value) {
  return static_cast<std::uint32_t>(value >> 32);
}

}  // namespace

std::uint64_t run_number(std::int32_t angle_index, std::int32_t group) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(angle_index)) |
         static_cast<std::uint64_t>(static_cast<std::uint32_t>(group)) << 32;
}

RunKey run_key(std::int64_t seed, std::uint64_t run) {
  const auto bits = static_cast<std::uint64_t>(seed);
  const r123::Philox4x32_R<10> philox;
  const r123::Philox4x32_R<10>::key_type key = {{low_word(bits), high_word(bits)}};
  const r123::Philox4x32_R<10>::ctr_type counter = {{low_word(run), high_word(run), 0u, kKeyTag}};
  const auto block = philox(counter, key);
  return {block[0], block[1]};
}

void IonStream::refill() {
  const Philox philox;
  const Philox::ctr_type counter = {
      {low_word(blocks_), high_word(blocks_), low_word(ion_), high_word(ion_)}};
  const Philox::ctr_type block = philox(counter, key_);
  for (std::uint32_t k = 0; k < kPerBlock; ++k) block_[k] = block[k];
  ++blocks_;
  next_ = 0;
}

}  // namespace engine
