// Hidden files of the store: a spectrum being written lives beside its place under the name
// ".NAME.h5.<pid>.part" until it is complete, so that no reader ever sees it half written.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string_view>

namespace zq {

// The hidden name of this process for the spectrum file `target`, in the same directory.
std::filesystem::path hidden_path(const std::filesystem::path& target);

// The process that owns a hidden file of this name, or nothing when the name is not one.
std::optional<pid_t> hidden_file_owner(std::string_view file_name);

// Removes the directory entry at `path` without following it, when there is one; nothing
// of this process's own lives there (the caller tracks its hidden files), so whatever sits
// there is a leftover of an ended process with the same number or was planted.
void clear_hidden_name(const std::filesystem::path& path);

// Removes the hidden files of `directory` whose processes have ended (killed mid-write);
// those of running processes, and entries that cannot be removed, stay.
void remove_leftovers(const std::filesystem::path& directory);

}  // namespace zq
