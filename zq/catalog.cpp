// Directory listing of spectrum files.
#include "zq/catalog.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "zq/error.h"
#include "zq/experiment.h"
#include "zq/names.h"
#include "zq/zq.h"

namespace zq {

std::vector<std::string> list_spectra() {
  const std::filesystem::path& directory = experiment().directory();
  std::error_code error;
  std::filesystem::directory_iterator entry(directory, error);
  std::vector<std::string> names;
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    // Links are not spectra: the store refuses to open them.
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(entry->symlink_status(ignored))) continue;
    if (auto name = spectrum_of_file(entry->path().filename().string())) names.push_back(*name);
  }
  if (error) {
    throw Error(ZQ_ESYSTEM, "cannot list experiment directory '" + directory.string() +
                                "': " + error.message());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace zq
