// The connected experiment: a directory holding one file per spectrum.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zq {

class Experiment {
 public:
  // Chooses the directory (empty: the current one) and drops any earlier connection.
  void set_path(std::string_view directory);
  // Checks that the chosen directory exists and is a directory, and connects to it.
  // `capabilities` is "capabilities" or empty; both give read and write access.
  void connect(std::string_view capabilities);

  // File of the named spectrum; throws when not connected or the name is refused.
  std::filesystem::path spectrum_path(std::string_view name) const;
  // Directory of the connected experiment; throws when not connected.
  const std::filesystem::path& directory() const;

 private:
  std::string path_;
  std::filesystem::path directory_;
  bool connected_ = false;
};

// The process's one experiment.
Experiment& experiment();

}  // namespace zq
