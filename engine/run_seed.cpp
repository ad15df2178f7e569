// Reading the fixed run seed from the environment, and the clock seed.
#include "engine/run_seed.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <string>

#include "engine/errors.h"

namespace engine {

std::int64_t parse_seed(std::string_view text) {
  const std::string_view digits =
      text.substr(text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1);
  const bool well_formed =
      !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
  // from_chars takes a leading '-' but not '+'.
  const std::string_view number = text.substr(!text.empty() && text[0] == '+' ? 1 : 0);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (!well_formed || error != std::errc() || end != number.data() + number.size())
    throw SeedError(std::string(kSeedVariable) + " = \"" + std::string(text) +
                    "\" is not a decimal integer between -9223372036854775808 and "
                    "9223372036854775807");
  return value;
}

std::optional<std::int64_t> seed_from_environment() {
  const char* text = std::getenv(kSeedVariable);
  if (text == nullptr || *text == '\0') return std::nullopt;
  return parse_seed(text);
}

std::int64_t clock_run_seed() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

std::int64_t run_seed() {
  if (const std::optional<std::int64_t> seed = seed_from_environment()) return *seed;
  return clock_run_seed();
}

}  // namespace engine
