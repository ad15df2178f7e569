// Schrage's evaluation of x <- 48271 x mod (2^31 - 1), so that no product exceeds 32 bits,
// and the clock seed.
#include "engine/random_generator.h"

#include <chrono>
#include <ctime>

namespace engine {

namespace {

constexpr std::int32_t kModulus = 2147483647;  // 2^31 - 1
constexpr std::int32_t kMultiplier = 48271;
constexpr std::int32_t kQuotient = 44488;         // kModulus div kMultiplier
constexpr std::int32_t kRemainder = 3399;         // kModulus mod kMultiplier
constexpr double kScale = 4.656612875245797e-10;  // 1 / (2^31 - 1)

// The reference point of "elapsed since program start": static initialisation time.
const std::chrono::steady_clock::time_point program_start = std::chrono::steady_clock::now();

// Seconds since 1970-01-01 00:00 of the local calendar date and time.
std::int64_t local_seconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return static_cast<std::int64_t>(now);
  using namespace std::chrono;
  const sys_days date = year{local.tm_year + 1900} /
                        month{static_cast<unsigned>(local.tm_mon + 1)} /
                        day{static_cast<unsigned>(local.tm_mday)};
  return date.time_since_epoch().count() * std::int64_t{86400} + local.tm_hour * 3600 +
         local.tm_min * 60 + local.tm_sec;
}

}  // namespace

double RandomGenerator::uniform_deviate() {
  std::int32_t x = state_ == 0 ? -1 : state_;
  // Truncating division: hi and lo share the sign of x, so both products stay in 32 bits.
  const std::int32_t hi = x / kQuotient;
  const std::int32_t lo = x % kQuotient;
  x = kMultiplier * lo - kRemainder * hi;
  if (x <= 0) x += kModulus;
  state_ = x;
  return x * kScale;
}

void RandomGenerator::seed_from_clock() {
  state_ = clock_seed();
}

std::int32_t exchange_halves(std::int32_t s) {
  const auto u = static_cast<std::uint32_t>(s);
  return static_cast<std::int32_t>((u << 16) | (u >> 16));
}

std::int32_t clock_seed() {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - program_start)
                           .count();
  // Wrapping 32-bit sum, done in unsigned arithmetic where wrapping is defined.
  const auto sum =
      static_cast<std::uint32_t>(local_seconds()) + static_cast<std::uint32_t>(elapsed);
  return exchange_halves(static_cast<std::int32_t>(sum));
}

}  // namespace engine
