// Changes of existing spectra. A spectrum's file is never written in place: the first change
// a process makes copies the spectrum into a hidden file of its own (see Changes), and every
// change goes there. A file whose structure HDF5 could not write back therefore stays as it
// was, readable as before.
#pragma once

#include <functional>
#include <string_view>

#include "zq/spectrum_file.h"

namespace zq {

using SpectrumStep = std::function<void(const SpectrumFile& file)>;

// Runs `check` on the spectrum as it is (it throws to refuse the change), then `change` on
// the held copy; the copy is placed or removed as Changes::settle says.
void change_spectrum(std::string_view name, const SpectrumStep& check, const SpectrumStep& change);

}  // namespace zq
