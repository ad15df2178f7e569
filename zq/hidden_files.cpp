// Naming, clearing and sweeping of the hidden files in an experiment directory.
#include "zq/hidden_files.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string>
#include <system_error>

#include "zq/error.h"
#include "zq/names.h"
#include "zq/zq.h"

namespace zq {
namespace {

constexpr std::string_view kPartSuffix = ".part";

bool process_ended(pid_t pid) {
  return kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::filesystem::path hidden_path(const std::filesystem::path& target) {
  std::string name(".");
  name += target.filename().string();
  name += '.';
  name += std::to_string(getpid());
  name += kPartSuffix;
  return target.parent_path() / name;
}

std::optional<pid_t> hidden_file_owner(std::string_view file_name) {
  if (!file_name.starts_with('.') || !file_name.ends_with(kPartSuffix)) return std::nullopt;
  const std::string_view rest = file_name.substr(0, file_name.size() - kPartSuffix.size());
  const std::size_t dot = rest.rfind('.');
  // At least one character of spectrum name between the leading dot and the suffix.
  if (dot == std::string_view::npos || dot < kSpectrumSuffix.size() + 2 ||
      !rest.substr(0, dot).ends_with(kSpectrumSuffix)) {
    return std::nullopt;
  }
  const std::string_view digits = rest.substr(dot + 1);
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || pid < 1) {
    return std::nullopt;
  }
  return pid;
}

void clear_hidden_name(const std::filesystem::path& path) {
  // remove() unlinks a symbolic link itself, never what it points to.
  std::error_code error;
  std::filesystem::remove(path, error);
  if (error) {
    throw Error(ZQ_ESYSTEM,
                "cannot clear the hidden file '" + path.string() + "': " + error.message());
  }
}

void remove_leftovers(const std::filesystem::path& directory) {
  std::error_code error;
  std::filesystem::directory_iterator entry(directory, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::optional<pid_t> owner = hidden_file_owner(entry->path().filename().string());
    if (!owner || *owner == getpid() || !process_ended(*owner)) continue;
    std::error_code ignored;  // a leftover that cannot go now is swept at a later connect
    std::filesystem::remove(entry->path(), ignored);
  }
}

}  // namespace zq
