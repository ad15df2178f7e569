// Spectra this process has created or changed and not yet put in place. Each lives in a
// hidden file of its own, created exclusively and kept open, so that the process's later
// calls on the name reach it and a link planted at its name is never followed. Placing it
// closes the file and renames it over the spectrum's file; a process that dies before that
// leaves the spectrum as it was.
#pragma once

#include <hdf5.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "zq/h5_handle.h"

namespace zq {

class HeldSpectrum {
 public:
  // Creates the hidden file of `target` exclusively, clearing a leftover at its name first.
  explicit HeldSpectrum(const std::filesystem::path& target);
  HeldSpectrum(HeldSpectrum&& other) noexcept;
  HeldSpectrum& operator=(HeldSpectrum&&) = delete;
  HeldSpectrum(const HeldSpectrum&) = delete;
  HeldSpectrum& operator=(const HeldSpectrum&) = delete;
  // Closes and removes the hidden file unless it was placed.
  ~HeldSpectrum();

  hid_t file() const { return file_.id(); }

  // Closes the file, reporting a failure, and renames it over the target.
  void place();

 private:
  std::filesystem::path target_;
  std::filesystem::path hidden_;
  h5::Handle file_;
};

class Changes {
 public:
  // From now on spectra stay held until finish(); otherwise each is placed when the call
  // that made or changed it ends.
  void hold() { holding_ = true; }
  // Places every held spectrum (keep) or removes them all, and ends holding. A spectrum that
  // cannot be placed throws after the others were tried; it is removed.
  void finish(bool keep);
  // Removes every held spectrum; holding goes on.
  void discard();

  // The hidden file of the held spectrum `name`, or nothing.
  std::optional<hid_t> find(std::string_view name) const;

  // Holds a new spectrum `name` in place of any held one, to be put at `target`; `fill`
  // writes its contents into the fresh file. A failing fill removes it.
  void start(std::string_view name, const std::filesystem::path& target,
             const std::function<void(hid_t file)>& fill);
  // Ends a call that made or changed the held spectrum `name`: unless holding, it is placed
  // when the call succeeded and removed when it failed.
  void settle(std::string_view name, bool succeeded);

 private:
  bool holding_ = false;
  std::map<std::string, HeldSpectrum, std::less<>> held_;
};

}  // namespace zq
