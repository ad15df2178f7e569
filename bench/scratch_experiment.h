// A scratch experiment for the store and tool benchmarks: a fresh directory made with
// mkdtemp, named by EXPERIMENTDIR (as the tools look for it) and connected; removed afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "zq/zq.h"

namespace bench {

// Throws the store's message when a store call fails.
inline void check(int status) {
  if (status != 0) throw std::runtime_error(ZQerrorMessage(ZQerrno));
}

class ScratchExperiment {
 public:
  ScratchExperiment() {
    std::string name = (std::filesystem::temp_directory_path() / "bench-store.XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
    setenv("EXPERIMENTDIR", name.c_str(), 1);
    check(ZQsetExperimentPath(name.c_str()));
    check(ZQconnectExperiment("capabilities"));
  }
  ~ScratchExperiment() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchExperiment(const ScratchExperiment&) = delete;
  ScratchExperiment& operator=(const ScratchExperiment&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace bench
