// Writing the merged spectrum: every input at its calibrated position, in command-line order.
#pragma once

#include <string>
#include <vector>

#include "spectools/histsum/merge_plan.h"

namespace spectools::histsum {

// Creates `target` with base 0 on every axis, the merged channel counts and the first
// input's layout and type, then writes every input into it in order; a later input
// overwrites the channels it shares with an earlier one, and channels no input covers stay
// 0. Counts and placements are all worked out before the target is created, so that a merge
// that cannot be placed leaves no target behind.
void stitch(const MergePlan& plan, const std::vector<MergeInput>& inputs,
            const std::string& target);

}  // namespace spectools::histsum
