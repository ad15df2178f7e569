// A scratch directory for one test, made fresh and removed afterwards; optionally the working
// directory while it lives.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace polysim_test {

class ScratchDir {
 public:
  explicit ScratchDir(bool enter = false) : previous_(std::filesystem::current_path()) {
    std::string name = (std::filesystem::temp_directory_path() / "polysim-test.XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
    if (enter) std::filesystem::current_path(path_);
  }
  ~ScratchDir() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path file(const std::string& name) const { return path_ / name; }

  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name) << text;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path_ / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace polysim_test
