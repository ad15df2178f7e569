// The seed of a run: the clock by default, or a fixed value from the environment variable
// IONBEAM_SEED so that a run can be repeated exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/random_generator.h"

namespace engine {

inline constexpr const char* kSeedVariable = "IONBEAM_SEED";

// A seed text: an optional sign and decimal digits, nothing else, within the 32-bit range.
// Throws SeedError naming the text otherwise.
std::int32_t parse_seed(std::string_view text);

// The seed fixed by IONBEAM_SEED, or nothing when the variable is unset or empty. Throws
// SeedError when it is set to something that is not a seed.
std::optional<std::int32_t> seed_from_environment();

// Seeds `generator` with IONBEAM_SEED when that is set and non-empty (the value becomes the
// generator state as it stands), else from the clock.
void seed_from_environment_or_clock(RandomGenerator& generator);

}  // namespace engine
