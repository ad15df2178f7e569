// The check that a tool's target is not one of its sources.
#include "spectools/frame/targets.h"

#include <algorithm>

#include "spectools/frame/failures.h"
#include "zq/names.h"

namespace spectools {

void refuse_source_as_target(const std::vector<std::string>& sources, const std::string& target) {
  if (std::find(sources.begin(), sources.end(), target) != sources.end()) {
    crash("target spectrum " + zq::escape_controls(target) + " is also a source spectrum");
  }
}

}  // namespace spectools
