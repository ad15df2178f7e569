// The connected experiment: a directory holding one file per spectrum.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "zq/changes.h"

namespace zq {

class Experiment {
 public:
  // Chooses the directory (empty: the current one) and drops any earlier connection with
  // the spectra it still held.
  void set_path(std::string_view directory);
  // Checks that the chosen directory exists and is a directory, and connects to it.
  // `capabilities` is "capabilities" or empty; both give read and write access. Hidden files
  // left there by processes that have ended are removed.
  void connect(std::string_view capabilities);

  // File of the named spectrum; throws when not connected or the name is refused.
  std::filesystem::path spectrum_path(std::string_view name) const;
  // Directory of the connected experiment; throws when not connected.
  const std::filesystem::path& directory() const;

  Changes& changes() { return changes_; }

 private:
  std::string path_;
  std::filesystem::path directory_;
  bool connected_ = false;
  Changes changes_;
};

// The process's one experiment.
Experiment& experiment();

}  // namespace zq
