// The seed of a run: the clock by default, or a fixed value from the environment variable
// IONBEAM_SEED so that a run can be repeated exactly. Seeds are 64-bit; every run writes its
// seed, so any run can be repeated by setting IONBEAM_SEED to the value written.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace engine {

inline constexpr const char* kSeedVariable = "IONBEAM_SEED";

// A seed text: an optional sign and decimal digits, nothing else, within the 64-bit range.
// Throws SeedError naming the text otherwise.
std::int64_t parse_seed(std::string_view text);

// The seed fixed by IONBEAM_SEED, or nothing when the variable is unset or empty. Throws
// SeedError when it is set to something that is not a seed.
std::optional<std::int64_t> seed_from_environment();

// The clock seed: nanoseconds since 1970-01-01 00:00 UTC by the system clock, so runs started
// apart by more than the clock's resolution get different seeds.
std::int64_t clock_run_seed();

// The seed of a run: IONBEAM_SEED when it is set and non-empty, else the clock seed. Throws
// SeedError when the variable is set to something that is not a seed.
std::int64_t run_seed();

}  // namespace engine
