// Command lines of the nine spectrum tools: usage texts, accepted argument counts (the
// program name counted) and closing messages.
#pragma once

#include <climits>
#include <initializer_list>
#include <string>
#include <string_view>

namespace spectools {

struct ToolUsage {
  std::string_view tool;
  std::string_view text;  // the usage text as it stands
  bool printed_by_crash;  // crash() adds the newline the text lacks
  int min_count;
  int max_count;             // kNoLimit: any count from min_count up
  std::string_view closing;  // closing message; %s and %d are filled in order
};

inline constexpr int kNoLimit = INT_MAX;

// The usage of one of the nine tools; throws std::out_of_range for another name.
const ToolUsage& usage_of(std::string_view tool);

bool accepts(const ToolUsage& usage, int argc);
// What a wrong command line prints.
std::string usage_output(const ToolUsage& usage);
// Throws ToolExit(1, usage output) unless `argc` is accepted.
void check_argument_count(const ToolUsage& usage, int argc);
// The closing message with its %s / %d fields replaced by `fields` in order.
std::string closing_message(const ToolUsage& usage, std::initializer_list<std::string_view> fields);

}  // namespace spectools
