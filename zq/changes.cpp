// Held spectra: exclusive creation of their hidden files, placement by rename, removal.
#include "zq/changes.h"

#include <exception>
#include <system_error>
#include <utility>

#include "zq/error.h"
#include "zq/hidden_files.h"
#include "zq/zq.h"

namespace zq {

HeldSpectrum::HeldSpectrum(const std::filesystem::path& target)
    : target_(target), hidden_(hidden_path(target)) {
  clear_hidden_name(hidden_);
  // Exclusive creation fails on any entry at the name, a symbolic link included, so an
  // entry planted after the clearing makes this fail instead of redirecting the write.
  file_ = h5::owned_file(H5Fcreate(hidden_.c_str(), H5F_ACC_EXCL, H5P_DEFAULT, H5P_DEFAULT),
                         "creating spectrum file '" + hidden_.string() + "'");
}

HeldSpectrum::HeldSpectrum(HeldSpectrum&& other) noexcept
    : target_(std::move(other.target_)),
      hidden_(std::exchange(other.hidden_, {})),
      file_(std::move(other.file_)) {}

HeldSpectrum::~HeldSpectrum() {
  if (hidden_.empty()) return;  // moved from, or placed
  file_ = h5::Handle();
  std::error_code ignored;
  std::filesystem::remove(hidden_, ignored);
}

void HeldSpectrum::place() {
  file_.close("closing spectrum file '" + hidden_.string() + "'");
  std::error_code error;
  std::filesystem::rename(hidden_, target_, error);
  if (error) {
    throw Error(ZQ_ESYSTEM,
                "cannot put spectrum file '" + target_.string() + "' in place: " + error.message());
  }
  hidden_.clear();
}

void Changes::finish(bool keep) {
  holding_ = false;
  auto held = std::exchange(held_, {});
  if (!keep) return;
  std::exception_ptr failure;
  for (auto& [name, spectrum] : held) {
    try {
      spectrum.place();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

void Changes::discard() {
  held_.clear();
}

std::optional<hid_t> Changes::find(std::string_view name) const {
  const auto entry = held_.find(name);
  if (entry == held_.end()) return std::nullopt;
  return entry->second.file();
}

void Changes::start(std::string_view name, const std::filesystem::path& target,
                    const std::function<void(hid_t file)>& fill) {
  if (auto earlier = held_.find(name); earlier != held_.end()) held_.erase(earlier);
  HeldSpectrum spectrum(target);
  fill(spectrum.file());
  held_.emplace(std::string(name), std::move(spectrum));
}

void Changes::settle(std::string_view name, bool succeeded) {
  if (holding_) return;
  const auto entry = held_.find(name);
  if (entry == held_.end()) return;
  HeldSpectrum spectrum = std::move(entry->second);
  held_.erase(entry);
  if (succeeded) spectrum.place();
}

}  // namespace zq
