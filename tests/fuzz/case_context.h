// One fuzz case: its directory, its random source, the log of its mutations, and every program
// run it makes, each judged; the case keeps the gravest verdict and the run that gave it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "mutations.h"
#include "process.h"
#include "random.h"
#include "verdict.h"

namespace fuzz {

struct Settings {
  std::filesystem::path bin_dir;       // the programs under test
  std::filesystem::path examples_dir;  // cu001.in
  std::filesystem::path work_dir;      // case directories; failing ones are kept
  std::uint64_t seed = 1;
  Limits limits;
};

struct CaseResult {
  std::size_t number = 0;
  std::string kind;
  Judgement judgement;
  std::string culprit;  // shell line of the run that gave the verdict
  Log log;              // mutations and set-up steps
  std::filesystem::path dir;
};

class CaseContext {
 public:
  CaseContext(const Settings& settings, std::size_t number, std::string kind);

  Random& random() { return random_; }
  Log& log() { return result_.log; }
  const std::filesystem::path& dir() const { return result_.dir; }
  const Settings& settings() const { return settings_; }
  std::filesystem::path program(const std::string& name) const { return settings_.bin_dir / name; }

  struct Run {
    ProcessResult process;
    Judgement judgement;
  };
  // Runs `command`, judges it and keeps the verdict if it is the gravest so far.
  Run run(const Command& command);
  // A verdict from a check made after a run.
  void flag(Verdict verdict, const std::string& detail, const Command& command);

  const CaseResult& result() const { return result_; }

 private:
  const Settings& settings_;
  Random random_;
  CaseResult result_;
  std::filesystem::path capture_;
  std::size_t runs_ = 0;
};

// Writes `text` to `path` as it stands.
void write_file(const std::filesystem::path& path, const std::string& text);
std::string read_file(const std::filesystem::path& path);

}  // namespace fuzz
