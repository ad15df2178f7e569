// Reading the fixed run seed from the environment.
#include "engine/run_seed.h"

#include <charconv>
#include <cstdlib>
#include <string>

#include "engine/errors.h"

namespace engine {

std::int32_t parse_seed(std::string_view text) {
  const std::string_view digits =
      text.substr(text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1);
  const bool well_formed =
      !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
  // from_chars takes a leading '-' but not '+'.
  const std::string_view number = text.substr(!text.empty() && text[0] == '+' ? 1 : 0);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (!well_formed || error != std::errc() || end != number.data() + number.size())
    throw SeedError(std::string(kSeedVariable) + " = \"" + std::string(text) +
                    "\" is not a decimal integer between -2147483648 and 2147483647");
  return value;
}

std::optional<std::int32_t> seed_from_environment() {
  const char* text = std::getenv(kSeedVariable);
  if (text == nullptr || *text == '\0') return std::nullopt;
  return parse_seed(text);
}

void seed_from_environment_or_clock(RandomGenerator& generator) {
  if (const std::optional<std::int32_t> seed = seed_from_environment())
    generator.seed(*seed);
  else
    generator.seed_from_clock();
}

}  // namespace engine
