// A scratch experiment directory for one test, made with mkdtemp and removed afterwards, and
// a fixture that connects the store to it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "zq/zq.h"

namespace zq_test {

inline bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class ScratchDir {
 public:
  ScratchDir() {
    std::string name = (std::filesystem::temp_directory_path() / "zq-test.XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name) << text;
  }

 private:
  std::filesystem::path path_;
};

// Each test starts connected to an empty experiment of its own.
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ZQsetExperimentPath(dir_.str().c_str()), 0);
    ASSERT_EQ(ZQconnectExperiment("capabilities"), 0);
  }

  ScratchDir dir_;
};

}  // namespace zq_test
