// Creation of spectrum files.
#pragma once

#include <string_view>

#include "zq/description.h"

namespace zq {

// Creates the named one- or two-dimensional spectrum with all counts 0 and no records. An
// existing spectrum of that name is replaced whole, records included; the new file is
// written beside it under a hidden name and renamed over it only when complete.
void create_spectrum(std::string_view name, const Description& description);

}  // namespace zq
