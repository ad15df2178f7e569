// Creation of spectrum files.
#pragma once

#include <hdf5.h>

#include <string_view>

#include "zq/description.h"

namespace zq {

// Writes a spectrum of `description` with all counts 0 and no records into the empty `file`.
void write_layout(hid_t file, const Description& description, const std::string& action);

// Creates the named one- or two-dimensional spectrum with all counts 0 and no records. An
// existing spectrum of that name is replaced whole, records included, when the new one is
// placed (see Changes).
void create_spectrum(std::string_view name, const Description& description);

}  // namespace zq
