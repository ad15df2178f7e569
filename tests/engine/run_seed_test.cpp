// The fixed run seed from IONBEAM_SEED: accepted forms, refused forms, and the clock default.
#include "engine/run_seed.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "engine/errors.h"

namespace {

// Sets IONBEAM_SEED for one test and restores the former value afterwards.
class SeedVariable {
 public:
  SeedVariable() {
    if (const char* old = std::getenv(engine::kSeedVariable)) saved_ = old;
  }
  ~SeedVariable() {
    if (saved_)
      setenv(engine::kSeedVariable, saved_->c_str(), 1);
    else
      unsetenv(engine::kSeedVariable);
  }
  void set(const char* value) { setenv(engine::kSeedVariable, value, 1); }
  void clear() { unsetenv(engine::kSeedVariable); }

 private:
  std::optional<std::string> saved_;
};

TEST(ParseSeed, AcceptsSignedDecimalIntegersOfSixtyFourBits) {
  const struct {
    const char* text;
    std::int64_t value;
  } cases[] = {{"0", 0},
               {"1", 1},
               {"+17", 17},
               {"-5", -5},
               {"0042", 42},
               {"2147483648", 2147483648},
               {"1765135397123456789", 1765135397123456789},
               {"9223372036854775807", INT64_MAX},
               {"-9223372036854775808", INT64_MIN}};
  for (const auto& c : cases) EXPECT_EQ(engine::parse_seed(c.text), c.value) << c.text;
}

TEST(ParseSeed, RefusesAnythingElse) {
  for (const char* text :
       {"", " 1", "1 ", "1.0", "1e3", "0x10", "+", "-", "+-5", "--5", "12a", "9223372036854775808",
        "-9223372036854775809", "99999999999999999999", "seed"}) {
    EXPECT_THROW(engine::parse_seed(text), engine::SeedError) << '"' << text << '"';
  }
}

TEST(ParseSeed, MessageNamesTheVariableAndTheValue) {
  try {
    engine::parse_seed("abc");
    FAIL() << "no error";
  } catch (const engine::SeedError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find("IONBEAM_SEED"), std::string::npos) << message;
    EXPECT_NE(message.find("\"abc\""), std::string::npos) << message;
  }
}

TEST(RunSeed, SetValueIsTheSeed) {
  SeedVariable variable;
  variable.set("-1765135397123456789");
  EXPECT_EQ(engine::run_seed(), -1765135397123456789);
}

TEST(RunSeed, UnsetOrEmptyTakesTheClockInNanoseconds) {
  SeedVariable variable;
  for (const bool empty : {false, true}) {
    if (empty)
      variable.set("");
    else
      variable.clear();
    using namespace std::chrono;
    const auto before = duration_cast<nanoseconds>(system_clock::now().time_since_epoch());
    const std::int64_t seed = engine::run_seed();
    const auto after = duration_cast<nanoseconds>(system_clock::now().time_since_epoch());
    EXPECT_LE(before.count(), seed);
    EXPECT_LE(seed, after.count());
  }
}

TEST(RunSeed, MalformedValueIsAnError) {
  SeedVariable variable;
  variable.set("0x1F");
  EXPECT_THROW(engine::run_seed(), engine::SeedError);
}

TEST(SeedFromEnvironment, UnsetOrEmptyIsNoSeed) {
  SeedVariable variable;
  variable.clear();
  EXPECT_FALSE(engine::seed_from_environment().has_value());
  variable.set("");
  EXPECT_FALSE(engine::seed_from_environment().has_value());
}

}  // namespace
