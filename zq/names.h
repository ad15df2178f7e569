// Spectrum names and the files that hold them: a name must be a plain file name that cannot
// leave the experiment directory.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zq {

inline constexpr std::size_t kMaxNameLength = 200;
// Every spectrum file carries this suffix after the spectrum's name.
inline constexpr std::string_view kSpectrumSuffix = ".h5";

// `text` with each control character written as an escape (\n, \t, \r or \xHH), so that
// a message quoting a refused name stays on one line.
std::string escape_controls(std::string_view text);

// Why `name` is refused as a spectrum name, or nothing when it is acceptable.
std::optional<std::string> name_fault(std::string_view name);

// Throws ZQ_EBADNAME naming the fault.
void check_spectrum_name(std::string_view name);

// File name of a spectrum (the name is assumed checked).
std::string spectrum_file_name(std::string_view name);

// The spectrum held by a directory entry, or nothing when the entry is not a spectrum file.
std::optional<std::string> spectrum_of_file(std::string_view file_name);

}  // namespace zq
