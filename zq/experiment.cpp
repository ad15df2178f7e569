// Connection to the experiment directory.
#include "zq/experiment.h"

#include <cstdlib>
#include <system_error>

#include "zq/error.h"
#include "zq/h5_handle.h"
#include "zq/hidden_files.h"
#include "zq/names.h"
#include "zq/zq.h"

namespace zq {
namespace {

// At exit: spectra still held were never confirmed, so they go; then HDF5 ends.
void end_of_process() {
  experiment().changes().discard();
  h5::end_library();
}

}  // namespace

void Experiment::set_path(std::string_view directory) {
  changes_.discard();
  path_ = directory;
  directory_.clear();
  connected_ = false;
}

void Experiment::connect(std::string_view capabilities) {
  if (!capabilities.empty() && capabilities != "capabilities") {
    throw Error(ZQ_EBADARG, "unknown connect argument '" + escape_controls(capabilities) + "'");
  }
  const std::filesystem::path chosen = path_.empty() ? "." : path_;
  std::error_code error;
  const bool is_directory = std::filesystem::is_directory(chosen, error);
  if (!is_directory) {
    const std::string reason = error ? error.message() : "not a directory";
    throw Error(ZQ_ENOEXPERIMENT, "cannot open experiment directory '" +
                                      escape_controls(chosen.string()) + "': " + reason);
  }
  // Fixed now, so that a later change of the working directory does not move the store.
  directory_ = std::filesystem::absolute(chosen, error);
  if (error) {
    throw Error(ZQ_ESYSTEM, "cannot resolve experiment directory '" +
                                escape_controls(chosen.string()) + "': " + error.message());
  }
  h5::start_library();
  // Registered once the instance exists, so that it runs before the instance is destroyed.
  static const bool ending_registered = std::atexit(end_of_process) == 0;
  (void)ending_registered;
  remove_leftovers(directory_);
  connected_ = true;
}

std::filesystem::path Experiment::spectrum_path(std::string_view name) const {
  const std::filesystem::path& root = directory();
  check_spectrum_name(name);
  return root / spectrum_file_name(name);
}

const std::filesystem::path& Experiment::directory() const {
  if (!connected_) throw Error(ZQ_ENOTCONNECTED, "experiment store not connected");
  return directory_;
}

Experiment& experiment() {
  static Experiment instance;
  return instance;
}

}  // namespace zq
