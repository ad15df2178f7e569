// Creating a target destroys any spectrum of that name, so a target that names one of the
// tool's own sources is refused before anything is created.
#pragma once

#include <string>
#include <vector>

namespace spectools {

// crash("target spectrum <t> is also a source spectrum") when `target` is among `sources`.
void refuse_source_as_target(const std::vector<std::string>& sources, const std::string& target);

}  // namespace spectools
